// The settings page: the apply checks with their warnings, cancel, the file list, saving.
#include "support.h"

// Columns: typed, warnings.
using ApplyRow = std::tuple<QString, QString>;

class tst_settingspage : public QObject, WindowTest
{
    Q_OBJECT

    QString warnings() const
    {
        QString shown;
        for (const vb::Label *warning : {f()->Label17, f()->Label19, f()->Label20, f()->Label21})
            shown += warning->isHidden() ? '-' : '!';
        return shown;
    }
    void type(const QString &values) // name|words|memorising|recall
    {
        const QStringList v = values.split('|');
        f()->Label22->setCaption(v[0]);
        f()->Text1->setText(v[1]);
        f()->Text2->setText(v[2]);
        f()->Text3->setText(v[3]);
    }
    void clickFile(const QString &name)
    {
        const QListWidgetItem *item = f()->File1->findItems(name, Qt::MatchExactly).value(0);
        QVERIFY(item);
        QTest::mouseClick(f()->File1->viewport(), Qt::LeftButton, {},
                          f()->File1->visualItemRect(item).center());
    }

private slots:
    void init()
    {
        open();
        program->writeText("mfiles/другая база.txt", QString("слово\r\n").repeated(60));
        w->settingsAction();
    }
    void cleanup() { close(); }

    void apply_data()
    {
        columns<ApplyRow>();
        addRow("upper bounds", "a.txt|50|30|180", "----");
        addRow("lower bounds, blanks, text after the number", " a.txt|1 0|10abc|60.0", "----");
        addRow("no file", "|99|99|99", "!---");
        addRow("51 words", "a.txt|51|10|60", "-!--");
        addRow("empty is 0", "a.txt||10|60", "-!--");
        addRow("9 seconds", "a.txt|20|9|60", "--!-");
        addRow("comma is no point", "a.txt|20|9,9e1|60", "--!-");
        addRow("181 seconds", "a.txt|20|20|181", "---!");
        addRow("first failure only", "a.txt|5|10|5", "-!--");
        addRow("overflow", "a.txt|1e999|10|60", "-!--");
    }
    void apply()
    {
        const auto [typed, warnings] = fetch<ApplyRow>();
        const QByteArray before = program->read("mfiles/options.ini");
        type(typed);
        QTest::mouseClick(f()->Command1, Qt::LeftButton);
        QCOMPARE(this->warnings(), warnings);
        const bool saved = warnings == "----";
        QCOMPARE(f()->Command1->isEnabled(), !saved);
        QCOMPARE(program->read("mfiles/options.ini"),
                 saved ? QString(typed).replace('|', "\r\n").toLatin1() + "\r\n\r\n" : before);
    }

    void warningsWalkForward()
    {
        type("a.txt|5|10|5");
        w->Command1_Click();
        f()->Text1->setText("20");
        w->Command1_Click();
        QCOMPARE(warnings(), "---!");
        w->Command2_Click(); // a warning outlives cancel
        QCOMPARE(warnings() + f()->Text3->text(), "---!60");
        f()->Label22->setCaption("");
        w->Command1_Click();
        QCOMPARE(warnings(), "!--!"); // later warnings keep their state
        w->Command2_Click();
        w->Command1_Click();
        QCOMPARE(warnings(), "----");
    }

    void applyIsOfferedAgainAfterAnyEdit()
    {
        w->Command1_Click();
        QVERIFY(!f()->Command1->isEnabled());
        typeText(f()->Text2, "5");
        QVERIFY(f()->Command1->isEnabled());
        w->Command2_Click();
        w->Command1_Click();
        f()->Text3->setFocus();
        QTest::keyClick(w->windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f()->File1);
        // Taking the focus chooses nothing and shows no row as chosen.
        QVERIFY(!f()->Command1->isEnabled() && f()->File1->currentRow() == -1);
        f()->Label22->setCaption("");
        // Each key chooses the row it moves to; the first Down the first row.
        for (auto [key, chosen] : {std::pair{Qt::Key_Down, "wmbase.txt"}, {Qt::Key_End, "другая база.txt"}}) {
            QTest::keyClick(w->windowHandle(), key);
            QCOMPARE(f()->Label22->caption(), chosen);
        }
        QVERIFY(f()->Command1->isEnabled());
    }

    void chosenFileIsSavedAndUsed()
    {
        clickFile("другая база.txt");
        w->Command2_Click(); // cancel brings the stored name back
        QCOMPARE(f()->Label22->caption(), "wmbase.txt");
        QVERIFY(f()->Command1->isEnabled());
        clickFile("другая база.txt");
        f()->Text1->setText(" 12 ");
        w->Command1_Click();
        QCOMPARE(program->read("mfiles/options.ini"), cp1251(u"другая база.txt\r\n 12 \r\n10\r\n60\r\n\r\n"));
        w->startAction();
        QCOMPARE(f()->Label28->caption() + f()->Label25[11]->caption(), "12слово");
    }

    void filesAddedLaterAreListedWhenThePageOpens()
    {
        program->write("mfiles/новая.txt", QByteArray("x\r\n"));
        QCOMPARE(f()->File1->count(), 2);
        w->settingsAction();
        QCOMPARE(f()->File1->count(), 3);
    }

    void failedSaveSaysSoAndKeepsEverything()
    {
        // A folder in the way of the new file: the save cannot be done.
        QFile::remove(program->path("mfiles/options.ini"));
        QVERIFY(QDir().mkpath(program->path("mfiles/options.ini/keep")));
        type("a.txt|20|15|90");
        BoxAnswer box("ОК");
        w->Command1_Click();
        QCOMPARE(box.title + box.text,
                 "Darizi2Не удалось сохранить настройки в файл options.ini (на месте файла "
                 "находится папка). Прежние настройки остались без изменений.");
        QVERIFY(f()->Command1->isEnabled());
        QCOMPARE(f()->Text2->text(), "15");
        QVERIFY(QFile::exists(program->path("mfiles/options.ini/keep")));
    }
};

QTEST_MAIN(tst_settingspage)
#include "tst_settingspage.moc"
