// Whole trainings on the window: the start, both phases, the recall box, the results and the
// review. Ticks are run by calling the timer handlers.
#include "common/number.h"
#include "support.h"

#include <QClipboard>
#include <QLocale>
#include <QSet>
#include <QWindow>

namespace
{
QStringList visibleWords(const Form *f)
{
    QStringList words;
    for (const vb::Label *slot : f->Label25) {
        if (!slot->isHidden())
            words << slot->caption();
    }
    return words;
}
} // namespace

class tst_training : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScratchProgram> program;
    std::unique_ptr<frmvaruva> w;

    Form *f() const { return w->controls(); }

    void open()
    {
        w = std::make_unique<frmvaruva>();
        w->setSeed(42);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void memorise()
    {
        for (int guard = 0; f()->Timer1->isActive() && guard < 100; ++guard)
            w->Timer1_Timer();
    }
    void recall(int ticks)
    {
        for (int i = 0; i < ticks && f()->Timer2->isActive(); ++i)
            w->Timer2_Timer();
    }
    // The index of the slot holding a word.
    int slotOf(const QString &word) const
    {
        for (int i = 0; i < 50; ++i) {
            if (f()->Label25[i]->caption() == word)
                return i;
        }
        return -1;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init()
    {
        program = std::make_unique<ScratchProgram>();
        open();
    }
    void cleanup()
    {
        w.reset();
        program.reset();
    }

    void startFillsTheGrid_data()
    {
        QTest::addColumn<int>("words");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("level");
        QTest::newRow("10 of 100") << 10 << 100 << "0";
        QTest::newRow("17 of 101") << 17 << 101 << "1";
        QTest::newRow("50 of 51") << 50 << 51 << "0";
        QTest::newRow("50 of 1000") << 50 << 1000 << "0";
        QTest::newRow("20 of 1005") << 20 << 1005 << "1";
        QTest::newRow("20 of 1010") << 20 << 1010 << "2";
    }
    void startFillsTheGrid()
    {
        QFETCH(int, words);
        QFETCH(int, lines);
        QFETCH(QString, level);
        program->writeBase("wmbase.txt", lines);
        program->writeOptions("wmbase.txt", QString::number(words), "20", "90");
        w->startAction();

        QCOMPARE(f()->Label28->caption(), QString::number(words));
        QCOMPARE(f()->Label45->caption(), level);
        QCOMPARE(f()->Label23->caption(), QStringLiteral("20"));
        QCOMPARE(f()->Label24->caption(), QStringLiteral("90"));
        QVERIFY(f()->Label24->isHidden());
        QVERIFY(f()->Label26->caption().isEmpty());
        QVERIFY(f()->Timer1->isActive());
        QVERIFY(!f()->Timer2->isActive());
        QCOMPARE(QApplication::focusWidget(), f()->Command3); // Enter presses STOP
        for (int i = 0; i < 50; ++i)
            QCOMPARE(f()->Label25[i]->isHidden(), i >= words);

        QStringList shown;
        for (int i = 0; i < words; ++i)
            shown << f()->Label25[i]->caption();
        QCOMPARE(QSet<QString>(shown.begin(), shown.end()).size(), words);
        const qint64 pickable = lines > 1000 ? lines - 10 : lines;
        for (int i = 0; i < words; ++i) {
            QCOMPARE(shown[i], QStringLiteral("слово%1к").arg(w->pickedLines()[i]));
            QVERIFY(w->pickedLines()[i] < pickable);
        }
        QStringEncoder cp1251("windows-1251");
        QCOMPARE(program->read("last.txt"), QByteArray(cp1251.encode(shown.join("\r\n") + "\r\n")));
    }

    void storedValuesAreClamped_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("captions"); // Label28, Label23, Label24
        QTest::newRow("as typed") << QStringList{"20abc", "12.5", " 90"} << QStringList{"20", "12", "90"};
        QTest::newRow("below") << QStringList{"-5", "0", "1"} << QStringList{"10", "10", "60"};
        QTest::newRow("above") << QStringList{"99", "1e308", "&HFFFFFFFF"} << QStringList{"50", "30", "180"};
        QTest::newRow("no numbers") << QStringList{"NaN", "  ", ""} << QStringList{"10", "10", "60"};
    }
    void storedValuesAreClamped()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, captions);
        program->writeOptions("wmbase.txt", stored[0], stored[1], stored[2]);
        w->startAction();
        QCOMPARE((QStringList{f()->Label28->caption(), f()->Label23->caption(), f()->Label24->caption()}),
                 captions);
        QCOMPARE(visibleWords(f()).size(), captions[0].toInt());
        // The score counts the times the training ran.
        QCOMPARE(number::read(f()->Text2->text()), captions[1].toDouble());
        QCOMPARE(number::read(f()->Text3->text()), captions[2].toDouble());
        memorise();
        QVERIFY(f()->Timer2->isActive());
        recall(1000);
        QCOMPARE(f()->Label24->caption(), QStringLiteral("0"));
        QVERIFY(!f()->Frame4->isHidden());
    }

    void badInputKeepsTheWindowUsable_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "none.txt" << -1 << "не найден";
        QTest::newRow("folder") << "folder.txt" << -1 << "не является файлом";
        QTest::newRow("too few lines") << "wmbase.txt" << 9 << "слишком мало слов";
        QTest::newRow("path outside mfiles") << "../last.txt" << -1 << "недопустимо";
        QTest::newRow("empty name") << "" << -1 << "недопустимо";
    }
    void badInputKeepsTheWindowUsable()
    {
        QFETCH(QString, base);
        QFETCH(int, lines);
        QFETCH(QString, message);
        if (lines >= 0)
            program->writeBase(base, lines);
        QDir(program->path("mfiles")).mkdir("folder.txt");
        program->writeOptions(base, "10", "10", "60");
        const QByteArray options = program->read("mfiles/options.ini");
        const QStringList before =
            QDir(program->path("mfiles")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        BoxAnswer box("ОК");
        w->startAction();
        QVERIFY(box.shown);
        QCOMPARE(box.title, QStringLiteral("Darizi2"));
        QVERIFY2(box.text.contains(message), qPrintable(box.text));
        QVERIFY(!f()->Frame3->isHidden());
        QVERIFY(!w->trainingRunning());
        QVERIFY(visibleWords(f()).isEmpty());
        QCOMPARE(program->read("mfiles/options.ini"), options);
        QCOMPARE(QDir(program->path("mfiles")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QCOMPARE(program->read("last.txt"), QByteArray());

        // The window goes on: the menu still works.
        w->settingsAction();
        QVERIFY(!f()->Frame2->isHidden());
    }

    void missingOptionsUsesTheDefaults()
    {
        QFile::remove(program->path("mfiles/options.ini"));
        w->startAction();
        QVERIFY(f()->Timer1->isActive());
        QCOMPARE(visibleWords(f()).size(), 10);
        QVERIFY(!QFile::exists(program->path("mfiles/options.ini")));
    }

    void unwritableLastFileWarnsOnce()
    {
        QDir(program->dir.path()).mkdir("last.txt");
        BoxAnswer box("ОК");
        w->startAction();
        QVERIFY(box.shown);
        QVERIFY(box.text.contains("last.txt"));
        QVERIFY(f()->Timer1->isActive());
        QCOMPARE(visibleWords(f()).size(), 10);

        BoxAnswer again("ОК");
        w->startAction();
        QVERIFY(f()->Timer1->isActive());
        QVERIFY(!again.shown);
    }

    void wordsBeyondTheCodePageMakeLastFileUtf8()
    {
        program->write("mfiles/u.txt",
                       QStringLiteral("日本\nкот\nёж\nдом\nлес\nсад\nпол\nрот\nнос\nлук\n").toUtf8());
        program->writeOptions("u.txt", "10", "10", "60");
        w->startAction();
        QVERIFY(visibleWords(f()).contains(QStringLiteral("日本")));
        QVERIFY(program->read("last.txt").startsWith("\xEF\xBB\xBF"));
    }

    void phases()
    {
        program->writeOptions("wmbase.txt", "10", "20", "60");
        w->startAction();
        w->Timer1_Timer();
        QCOMPARE(f()->Label26->caption(), QStringLiteral("Запоминайте слова"));
        QCOMPARE(f()->Label23->caption(), QStringLiteral("19"));
        for (int i = 0; i < 18; ++i)
            w->Timer1_Timer();
        QCOMPARE(f()->Label23->caption(), QStringLiteral("1"));
        QVERIFY(f()->Timer1->isActive());
        w->Timer1_Timer();
        QVERIFY(!f()->Timer1->isActive());
        QVERIFY(f()->Timer2->isActive());
        QVERIFY(f()->Label23->isHidden());
        QVERIFY(!f()->Label24->isHidden());
        QCOMPARE(f()->Label24->caption(), QStringLiteral("60"));
        QVERIFY(visibleWords(f()).isEmpty());
        QVERIFY(!f()->Text4->isHidden());
        QCOMPARE(QApplication::focusWidget(), f()->Text4);
        QCOMPARE((QStringList{f()->Label27->caption(), f()->Label29->caption(), f()->Label28->caption()}),
                 (QStringList{"0", "из", "10"}));
        QCOMPARE(f()->Label26->caption(), QStringLiteral("Запоминайте слова"));
        w->Timer2_Timer();
        QCOMPARE(f()->Label26->caption(), QStringLiteral("Повторите слова в любом порядке"));
        recall(58);
        QCOMPARE(f()->Label24->caption(), QStringLiteral("1"));
        QVERIFY(f()->Frame4->isHidden());
        w->Timer2_Timer();
        QVERIFY(!f()->Timer2->isActive());
        QVERIFY(f()->Frame3->isHidden());
        QVERIFY(!f()->Frame4->isHidden());
        QCOMPARE(f()->Label47->caption(), QStringLiteral("1")); // nothing recalled, base level 1
    }

    void stop_data()
    {
        QTest::addColumn<int>("memorise");
        QTest::addColumn<int>("recall");
        QTest::addColumn<bool>("inRecall");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("presses");
        QTest::addColumn<QString>("memoriseUsed");
        QTest::addColumn<QString>("recallUsed");
        QTest::newRow("15 of 20 left") << 20 << 60 << false << 5 << 1 << "10"
                                       << "60";
        QTest::newRow("5 of 30 left") << 30 << 60 << false << 25 << 1 << "25"
                                      << "60";
        QTest::newRow("twice") << 30 << 60 << false << 25 << 2 << "24"
                               << "60";
        QTest::newRow("twice stays at 10") << 20 << 60 << false << 9 << 2 << "10"
                                           << "60";
        QTest::newRow("100 of 120 left") << 10 << 120 << true << 20 << 1 << "10"
                                         << "60";
        QTest::newRow("10 of 180 left") << 10 << 180 << true << 170 << 1 << "10"
                                        << "170";
    }
    void stop()
    {
        QFETCH(int, memorise);
        QFETCH(int, recall);
        QFETCH(bool, inRecall);
        QFETCH(int, ticks);
        QFETCH(int, presses);
        QFETCH(QString, memoriseUsed);
        QFETCH(QString, recallUsed);
        program->writeOptions("wmbase.txt", "10", QString::number(memorise), QString::number(recall));
        w->startAction();
        if (inRecall)
            this->memorise();
        for (int i = 0; i < ticks; ++i)
            inRecall ? w->Timer2_Timer() : w->Timer1_Timer();
        for (int i = 0; i < presses; ++i)
            QTest::mouseClick(f()->Command3, Qt::LeftButton);
        QCOMPARE(f()->Text2->text(), memoriseUsed);
        QCOMPARE(f()->Text3->text(), recallUsed);
        QCOMPARE((inRecall ? f()->Label24 : f()->Label23)->caption(), QStringLiteral("1"));
        if (inRecall) {
            QVERIFY(f()->Frame4->isHidden()); // the results come at the next tick
            w->Timer2_Timer();
            QVERIFY(!f()->Frame4->isHidden());
        } else {
            w->Timer1_Timer();
            QVERIFY(f()->Timer2->isActive());
        }
        // What a stop wrote is never saved and the settings page shows the stored values again.
        BoxAnswer abandon("ОК");
        w->settingsAction();
        QCOMPARE(f()->Text2->text(), QString::number(memorise));
        QCOMPARE(f()->Text3->text(), QString::number(recall));
    }

    void enterEndsTheMemorising()
    {
        program->writeOptions("wmbase.txt", "10", "30", "60");
        w->startAction();
        w->Timer1_Timer();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f()->Label23->caption(), QStringLiteral("1"));
        QCOMPARE(f()->Text2->text(), QStringLiteral("10"));
        w->Timer1_Timer();
        QVERIFY(f()->Timer2->isActive());
    }

    void stopTooltip()
    {
        w->startAction();
        QVERIFY(f()->Command3->toolTip().isEmpty());
        const QPoint stop = f()->Command3->mapTo(w.get(), QPoint(5, 5));
        QTest::mouseMove(w->windowHandle(), stop);
        QCOMPARE(f()->Command3->toolTip(), QStringLiteral("Закончить запоминание слов"));
        memorise();
        QTest::mouseMove(w->windowHandle(), stop + QPoint(1, 1));
        QCOMPARE(f()->Command3->toolTip(), QStringLiteral("Закончить воспроизведение слов"));
    }

    void recallTyping()
    {
        program->writeWords("wmbase.txt",
                            {"кот", "котёнок", "ёж", "ёж", "", " сад", "дом", "лес", "мост", "сыр"});
        w->startAction();
        memorise();
        vb::TextBox *box = f()->Text4;

        typeText(box, "ко");
        QCOMPARE(box->text(), QStringLiteral("КО"));
        typeText(box, "тёнок"); // КОТ is taken after three letters
        QCOMPARE(box->text(), QStringLiteral("ЁНОК"));
        QVERIFY(!f()->Label25[slotOf("кот")]->isHidden());
        QVERIFY(f()->Label25[slotOf("котёнок")]->isHidden());
        // Emptying the box after КОТ also took the empty word, inside the same change.
        QVERIFY(!f()->Label25[slotOf("")]->isHidden());
        QCOMPARE(f()->Label27->caption(), QStringLiteral("2"));

        box->clear();
        typeText(box, "кот"); // already shown: stays in the box
        QCOMPARE(box->text(), QStringLiteral("КОТ"));
        QCOMPARE(f()->Label27->caption(), QStringLiteral("2"));
        typeText(box, "ёнок");
        QCOMPARE(box->text(), QString());
        QCOMPARE(f()->Label27->caption(), QStringLiteral("3"));

        // A repeated word must be typed twice, lower slot first.
        int first = -1, second = -1;
        for (int i = 0; i < 10; ++i) {
            if (f()->Label25[i]->caption() == QStringLiteral("ёж"))
                (first < 0 ? first : second) = i;
        }
        typeText(box, "ёж");
        QVERIFY(!f()->Label25[first]->isHidden());
        QVERIFY(f()->Label25[second]->isHidden());
        typeText(box, "ёж");
        QVERIFY(!f()->Label25[second]->isHidden());

        // Blanks count; pasted text is not upper-cased.
        typeText(box, "сад");
        QCOMPARE(box->text(), QStringLiteral("САД"));
        box->clear();
        typeText(box, " сад");
        QCOMPARE(box->text(), QString());
        QGuiApplication::clipboard()->setText(QStringLiteral("дом"));
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("дом"));
        QVERIFY(f()->Label25[slotOf("дом")]->isHidden());
        box->clear();
        QCOMPARE(f()->Label27->caption(), QStringLiteral("6"));

        // The last words cut the countdown to 1; the results follow at the next tick.
        for (const char *word : {"дом", "лес", "мост", "сыр"})
            typeText(box, QString::fromUtf8(word));
        QCOMPARE(f()->Label27->caption(), QStringLiteral("10"));
        QCOMPARE(f()->Label24->caption(), QStringLiteral("1"));
        QVERIFY(f()->Frame4->isHidden());
        w->Timer2_Timer();
        QVERIFY(!f()->Frame4->isHidden());
        QCOMPARE(f()->Label32->caption(), QStringLiteral("50"));
    }

    void inputMethodTextIsUpperCased()
    {
        w->startAction();
        memorise();
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("ёлка"));
        QApplication::sendEvent(f()->Text4, &commit);
        QCOMPARE(f()->Text4->text(), QStringLiteral("ЁЛКА"));
    }

    void enterAsksToEnd_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("endsMeanwhile");
        QTest::addColumn<QString>("recallLeft");
        QTest::addColumn<QString>("recallUsed");
        QTest::newRow("yes") << "Да" << Qt::KeyboardModifiers() << false << "1"
                             << "70";
        QTest::newRow("yes with shift") << "Да" << Qt::KeyboardModifiers(Qt::ShiftModifier) << false << "1"
                                        << "70";
        QTest::newRow("no") << "Нет" << Qt::KeyboardModifiers() << false << "50"
                            << "120";
        QTest::newRow("yes after the end")
            << "Да" << Qt::KeyboardModifiers(Qt::ControlModifier) << true << "0"
            << "120";
    }
    void enterAsksToEnd()
    {
        QFETCH(QString, answer);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, endsMeanwhile);
        QFETCH(QString, recallLeft);
        QFETCH(QString, recallUsed);
        program->writeOptions("wmbase.txt", "10", "10", "120");
        w->startAction();
        memorise();
        recall(70);
        typeText(f()->Text4, "xyz");
        BoxAnswer box(answer, [&] {
            if (endsMeanwhile)
                recall(100);
        });
        QTest::keyClick(f()->Text4, Qt::Key_Return, modifiers);
        QVERIFY(box.shown);
        QCOMPARE(box.title, QStringLiteral("Darizi2"));
        QCOMPARE(box.text, QStringLiteral("Вы хотите закончить воспроизведение слов?"));
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.defaultButton, QStringLiteral("Да"));
        QCOMPARE(f()->Label24->caption(), recallLeft);
        QCOMPARE(f()->Text3->text(), recallUsed);
        QCOMPARE(f()->Text4->text(), QStringLiteral("XYZ"));
        QCOMPARE(f()->Timer2->isActive(), !endsMeanwhile);
    }

    void resultsAndReview()
    {
        // 7 of 10 words on a base of 200 lines (level 1), 10 s and 60 s.
        w->startAction();
        memorise();
        const QStringList words = [&] {
            QStringList all;
            for (int i = 0; i < 10; ++i)
                all << f()->Label25[i]->caption();
            return all;
        }();
        for (int i = 0; i < 7; ++i)
            typeText(f()->Text4, words[i]);
        recall(60);
        QVERIFY(!f()->Frame4->isHidden());
        QCOMPARE((QStringList{f()->Label32->caption(), f()->Label43->caption(), f()->Label44->caption(),
                              f()->Label45->caption(), f()->Label47->caption()}),
                 (QStringList{"35", "5,6", "1,12", "1", "42,72"}));

        QTest::mouseClick(f()->Command4, Qt::LeftButton);
        QVERIFY(f()->Frame4->isHidden());
        QVERIFY(!f()->Frame3->isHidden());
        QVERIFY(f()->Text4->isHidden());
        QVERIFY(f()->Command3->isHidden());
        for (int i = 0; i < 50; ++i) {
            const vb::Label *slot = f()->Label25[i];
            QCOMPARE(slot->isHidden(), i >= 10);
            if (i < 10)
                QCOMPARE(slot->foreColor(), i < 7 ? vb::windowTextColor() : vb::red);
        }
        QCOMPARE(f()->Label24->caption(), QStringLiteral("0"));
        QVERIFY(f()->Label23->isHidden());
    }

    void longValuesStayReadable()
    {
        // 13 of 17 words in 30 s and 180 s: every value has 15 significant digits.
        program->writeOptions("wmbase.txt", "17", "30", "180");
        w->startAction();
        memorise();
        for (int i = 0; i < 13; ++i)
            typeText(f()->Text4, f()->Label25[i]->caption());
        recall(180);
        QCOMPARE(f()->Label32->caption(), QStringLiteral("38,2352941176471"));
        QCOMPARE(f()->Label47->caption(), QStringLiteral("43,3952941176471"));
        for (vb::Label *cell : {f()->Label32, f()->Label43, f()->Label44, f()->Label47}) {
            // Every digit fits: the text laid out in the cell needs no more room than it has.
            QVERIFY2(cell->heightForWidth(cell->width()) <= cell->height(), qPrintable(cell->objectName()));
            const QFontMetrics metrics(cell->font());
            QVERIFY(
                metrics.boundingRect(QRect(0, 0, cell->width(), 1000), Qt::TextWrapAnywhere, cell->caption())
                    .height() <= cell->height());
        }
    }
};

QTEST_MAIN(tst_training)
#include "tst_training.moc"
