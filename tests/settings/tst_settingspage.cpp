// The settings page: loading, the apply checks with their warnings, cancel, the file list, saving.
#include "support.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

class tst_settingspage : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScratchProgram> program;
    std::unique_ptr<frmvaruva> w;

    Form *f() const { return w->controls(); }
    QList<bool> warnings() const
    {
        return {!f()->Label17->isHidden(), !f()->Label19->isHidden(), !f()->Label20->isHidden(),
                !f()->Label21->isHidden()};
    }
    void clickFile(const QString &name)
    {
        const QList<QListWidgetItem *> items = f()->File1->findItems(name, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        QTest::mouseClick(f()->File1->viewport(), Qt::LeftButton, {},
                          f()->File1->visualItemRect(items[0]).center());
    }
    void type(const QString &name, const QString &words, const QString &memorise, const QString &recall)
    {
        f()->Label22->setCaption(name);
        f()->Text1->setText(words);
        f()->Text2->setText(memorise);
        f()->Text3->setText(recall);
    }

private slots:
    void init()
    {
        program = std::make_unique<ScratchProgram>();
        program->writeBase("другая база.txt", 60);
        w = std::make_unique<frmvaruva>();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->settingsAction();
    }
    void cleanup()
    {
        w.reset();
        program.reset();
    }

    void apply_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QList<bool>>("warnings");
        QTest::addColumn<bool>("saved");
        using B = QList<bool>;
        QTest::newRow("upper bounds") << QStringList{"a.txt", "50", "30", "180"} << B{0, 0, 0, 0} << true;
        QTest::newRow("lower bounds") << QStringList{"a.txt", "10", "10", "60"} << B{0, 0, 0, 0} << true;
        QTest::newRow("text after the number")
            << QStringList{"a.txt", "20abc", "12.5", " 9 0"} << B{0, 0, 0, 0} << true;
        QTest::newRow("no file") << QStringList{"", "99", "99", "99"} << B{1, 0, 0, 0} << false;
        QTest::newRow("51 words") << QStringList{"a.txt", "51", "10", "60"} << B{0, 1, 0, 0} << false;
        QTest::newRow("empty words") << QStringList{"a.txt", "", "10", "60"} << B{0, 1, 0, 0} << false;
        QTest::newRow("9 seconds") << QStringList{"a.txt", "20", "9", "60"} << B{0, 0, 1, 0} << false;
        QTest::newRow("181 seconds") << QStringList{"a.txt", "20", "20", "181"} << B{0, 0, 0, 1} << false;
        QTest::newRow("first failure only") << QStringList{"a.txt", "5", "10", "5"} << B{0, 1, 0, 0} << false;
        QTest::newRow("comma is no point")
            << QStringList{"a.txt", "20", "9,9e1", "60"} << B{0, 0, 1, 0} << false;
        QTest::newRow("overflow") << QStringList{"a.txt", "1e999", "10", "60"} << B{0, 1, 0, 0} << false;
    }
    void apply()
    {
        QFETCH(QStringList, typed);
        QFETCH(QList<bool>, warnings);
        QFETCH(bool, saved);
        const QByteArray before = program->read("mfiles/options.ini");
        type(typed[0], typed[1], typed[2], typed[3]);
        QTest::mouseClick(f()->Command1, Qt::LeftButton);
        QCOMPARE(this->warnings(), warnings);
        QCOMPARE(f()->Command1->isEnabled(), !saved);
        const QByteArray expected = saved ? (typed.join("\r\n") + "\r\n\r\n").toLatin1() : before;
        QCOMPARE(program->read("mfiles/options.ini"), expected);
    }

    void warningsWalkForward()
    {
        type("a.txt", "5", "10", "5");
        w->Command1_Click();
        QCOMPARE(warnings(), (QList<bool>{0, 1, 0, 0}));
        f()->Text1->setText("20");
        w->Command1_Click();
        QCOMPARE(warnings(), (QList<bool>{0, 0, 0, 1}));
        // A warning outlives cancel; the next successful apply hides them all.
        w->Command2_Click();
        QCOMPARE(warnings(), (QList<bool>{0, 0, 0, 1}));
        QCOMPARE(f()->Text3->text(), QStringLiteral("60"));
        f()->Label22->setCaption(QString());
        w->Command1_Click();
        QCOMPARE(warnings(), (QList<bool>{1, 0, 0, 1})); // later warnings keep their state
        w->Command2_Click();
        w->Command1_Click();
        QCOMPARE(warnings(), (QList<bool>{0, 0, 0, 0}));
        QVERIFY(!f()->Command1->isEnabled());
    }

    void applyIsOfferedAgainAfterAnyEdit()
    {
        w->Command1_Click();
        QVERIFY(!f()->Command1->isEnabled());
        f()->Text2->setFocus();
        typeText(f()->Text2, "5");
        QVERIFY(f()->Command1->isEnabled());
        w->Command1_Click(); // 105 seconds: refused
        QVERIFY(f()->Command1->isEnabled());
        w->Command2_Click();
        w->Command1_Click();
        QVERIFY(!f()->Command1->isEnabled());
        f()->File1->setFocus();
        QTest::keyClick(f()->File1, Qt::Key_Down); // a keyboard selection counts as a click
        QVERIFY(f()->Command1->isEnabled());
    }

    void chooseFileThenCancel()
    {
        QCOMPARE(f()->File1->count(), 2);
        clickFile(QStringLiteral("другая база.txt"));
        QCOMPARE(f()->Label22->caption(), QStringLiteral("другая база.txt"));
        w->Command2_Click();
        QCOMPARE(f()->Label22->caption(), QStringLiteral("wmbase.txt"));
        QVERIFY(f()->Command1->isEnabled());
    }

    void cyrillicNameIsSavedAndUsed()
    {
        clickFile(QStringLiteral("другая база.txt"));
        f()->Text1->setText(" 12 ");
        w->Command1_Click();
        QStringEncoder cp1251("windows-1251");
        QCOMPARE(program->read("mfiles/options.ini"),
                 QByteArray(cp1251.encode(QStringLiteral("другая база.txt\r\n 12 \r\n10\r\n60\r\n\r\n"))));
        w->startAction();
        QCOMPARE(f()->Label28->caption(), QStringLiteral("12"));
        QVERIFY(f()->Label25[0]->caption().startsWith(QStringLiteral("слово")));
        f()->Timer1->stop();
    }

    void filesAddedLaterAreListedWhenThePageOpens()
    {
        program->writeBase("новая.txt", 60);
        QCOMPARE(f()->File1->count(), 2);
        w->settingsAction();
        QCOMPARE(f()->File1->count(), 3);
    }

    void failedSaveKeepsEverything()
    {
        // The folder is gone: the save cannot even start.
        QVERIFY(QDir(program->path("mfiles")).removeRecursively());
        type("a.txt", "20", "15", "90");
        BoxAnswer box("ОК");
        w->Command1_Click();
        QVERIFY(box.shown);
        QCOMPARE(box.title, QStringLiteral("Darizi2"));
        QVERIFY(box.text.startsWith(QStringLiteral("Не удалось сохранить настройки")));
        QVERIFY(f()->Command1->isEnabled());
        QCOMPARE(f()->Text2->text(), QStringLiteral("15"));
        QVERIFY(!QFile::exists(program->path("mfiles/options.ini")));
    }

    void failedSaveLeavesTheOldFileByteForByte()
    {
#ifdef Q_OS_UNIX
        if (::geteuid() == 0)
            QSKIP("Permissions do not bind root");
#endif
        const QByteArray before = program->read("mfiles/options.ini");
        QFile::setPermissions(program->path("mfiles"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        type("a.txt", "20", "15", "90");
        BoxAnswer box("ОК");
        w->Command1_Click();
        QFile::setPermissions(program->path("mfiles"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(box.shown);
        QCOMPARE(program->read("mfiles/options.ini"), before);
        QVERIFY(f()->Command1->isEnabled());
    }
};

QTEST_MAIN(tst_settingspage)
#include "tst_settingspage.moc"
