// Whole trainings on the window: the start, both phases, the recall box, the results and the
// review. Ticks are run by calling the timer handlers.
#include "common/number.h"
#include "support.h"

#include <QClipboard>
#include <QLocale>
#include <QWindow>

// Columns: lines, stored (words, memorising, recall as stored), captions (Label28 Label23 Label24 Label45).
using StartRow = std::tuple<int, QStringList, QString>;
// Columns: times (memorising and recall seconds), ticks (into the phase), inRecall, presses ("click", "click
// click" or "enter"), used (Text2 and Text3 afterwards).
using StopRow = std::tuple<QString, int, bool, QString, QString>;
// Columns: answer, modifiers, endsMeanwhile, after (Label24 and Text3).
using EnterAsksToEndRow = std::tuple<QString, Qt::KeyboardModifiers, bool, QString>;
// Columns: options (words, memorising, recall), found, scores (Label32 Label43 Label44 Label45 Label47).
using ResultsAndReviewRow = std::tuple<QString, int, QString>;

class tst_training : public QObject, WindowTest
{
    Q_OBJECT

    QStringList shownWords() const
    {
        QStringList words;
        for (const vb::Label *slot : f()->Label25)
            if (!slot->isHidden())
                words << slot->caption();
        return words;
    }
    vb::Label *slot(const QString &word) const
    {
        for (vb::Label *s : f()->Label25)
            if (s->caption() == word)
                return s;
        return nullptr;
    }
    QString captions(std::initializer_list<vb::Label *> labels) const
    {
        QStringList texts;
        for (const vb::Label *l : labels)
            texts << l->caption();
        return texts.join(' ');
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void cleanup() { close(); }

    void start_data()
    {
        columns<StartRow>();
        addRow("10 of 100", 100, QStringList{"10", "20", "90"}, "10 20 90 0");
        addRow("17 of 101", 101, QStringList{"17", "10", "60"}, "17 10 60 1");
        addRow("50 of 51", 51, QStringList{"50", "10", "60"}, "50 10 60 0");
        addRow("1000 lines", 1000, QStringList{"50", "10", "60"}, "50 10 60 0");
        addRow("1005 lines", 1005, QStringList{"20", "10", "60"}, "20 10 60 1");
        addRow("1010 lines", 1010, QStringList{"20", "10", "60"}, "20 10 60 2");
        addRow("as typed", 200, QStringList{"20abc", "12.5", " 90"}, "20 12 90 1");
        addRow("below range", 200, QStringList{"-5", "0", "NaN"}, "10 10 60 1");
        addRow("above range", 200, QStringList{"99", "1e308", "&HFFFFFFFF"}, "50 30 180 1");
    }
    void start()
    {
        const auto [lines, stored, captions] = fetch<StartRow>();
        open(lines);
        program->writeOptions("wmbase.txt", stored[0], stored[1], stored[2]);
        w->startAction();
        QCOMPARE(this->captions({f()->Label28, f()->Label23, f()->Label24, f()->Label45}), captions);
        const int words = captions.section(' ', 0, 0).toInt();
        QVERIFY(f()->Label24->isHidden() && f()->Label26->caption().isEmpty());
        QVERIFY(f()->Timer1->isActive() && !f()->Timer2->isActive());
        QCOMPARE(QApplication::focusWidget(), f()->Command3); // Enter presses STOP
        for (int i = 0; i < 50; ++i)
            QCOMPARE(f()->Label25[i]->isHidden(), i >= words);
        const QStringList shown = shownWords();
        QCOMPARE(QSet<QString>(shown.begin(), shown.end()).size(), words);
        for (int i = 0; i < words; ++i) {
            QCOMPARE(shown[i], QString("слово%1к").arg(w->pickedLines()[i]));
            QVERIFY(w->pickedLines()[i] < (lines > 1000 ? lines - 10 : lines));
        }
        QCOMPARE(program->read("last.txt"), cp1251(shown.join("\r\n") + "\r\n"));
        // The score counts the times the training really runs.
        QCOMPARE(number::read(f()->Text2->text()), captions.section(' ', 1, 1).toDouble());
        memorise();
        recall();
        QCOMPARE(f()->Label24->caption(), "0");
        QVERIFY(!f()->Frame4->isHidden());
    }

    void lastFile()
    {
        open();
        QDir(program->dir.path()).mkdir("last.txt");
        for (int run = 0; run < 2; ++run) {
            BoxAnswer box("ОК");
            w->startAction();
            QCOMPARE(box.shown, run == 0); // told once per program run
            QVERIFY(f()->Timer1->isActive());
        }
    }

    void phases()
    {
        open();
        program->writeOptions("wmbase.txt", "10", "20", "60");
        w->startAction();
        w->Timer1_Timer();
        QCOMPARE(captions({f()->Label26, f()->Label23}), "Запоминайте слова 19");
        for (int i = 0; i < 18; ++i)
            w->Timer1_Timer();
        QVERIFY(f()->Timer1->isActive());
        w->Timer1_Timer();
        QVERIFY(!f()->Timer1->isActive() && f()->Timer2->isActive());
        QVERIFY(f()->Label23->isHidden() && !f()->Label24->isHidden() && !f()->Text4->isHidden());
        QVERIFY(shownWords().isEmpty());
        QCOMPARE(QApplication::focusWidget(), f()->Text4);
        QCOMPARE(captions({f()->Label27, f()->Label29, f()->Label28, f()->Label24}), "0 из 10 60");
        QVERIFY(!f()->Label27->isHidden() && !f()->Label29->isHidden() && !f()->Label28->isHidden());
        QCOMPARE(f()->Label26->caption(), "Запоминайте слова"); // until the first recall tick
        w->Timer2_Timer();
        QCOMPARE(f()->Label26->caption(), "Повторите слова в любом порядке");
        recall(58);
        QVERIFY(f()->Frame4->isHidden());
        w->Timer2_Timer();
        QVERIFY(!f()->Timer2->isActive() && f()->Frame3->isHidden() && !f()->Frame4->isHidden());
        QCOMPARE(f()->Label47->caption(), "1"); // nothing recalled, base level 1
    }

    void stop_data()
    {
        columns<StopRow>();
        addRow("15 of 20 left", "20 60", 5, false, "click", "10 60");
        addRow("5 of 30 left", "30 60", 25, false, "enter", "25 60");
        addRow("twice", "30 60", 25, false, "click click", "24 60");
        addRow("twice stays at 10", "20 60", 9, false, "click click", "10 60");
        addRow("100 of 120 left", "10 120", 20, true, "click", "10 60");
        addRow("10 of 180 left", "10 180", 170, true, "click", "10 170");
    }
    void stop()
    {
        const auto [times, ticks, inRecall, presses, used] = fetch<StopRow>();
        open();
        program->writeOptions("wmbase.txt", "10", times.section(' ', 0, 0), times.section(' ', 1, 1));
        w->startAction();
        if (inRecall)
            memorise();
        for (int i = 0; i < ticks; ++i)
            inRecall ? w->Timer2_Timer() : w->Timer1_Timer();
        for (const QString &press : presses.split(' '))
            press == "enter" ? QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return)
                             : QTest::mouseClick(f()->Command3, Qt::LeftButton);
        QCOMPARE(f()->Text2->text() + ' ' + f()->Text3->text(), used);
        QCOMPARE((inRecall ? f()->Label24 : f()->Label23)->caption(), "1");
        QVERIFY(f()->Frame4->isHidden()); // the phase ends at the next tick
        inRecall ? w->Timer2_Timer() : w->Timer1_Timer();
        QVERIFY(inRecall ? !f()->Frame4->isHidden() : f()->Timer2->isActive());
        // What a stop wrote is never saved: the settings page shows the stored values again.
        BoxAnswer abandon("ОК");
        w->settingsAction();
        QCOMPARE(f()->Text2->text() + ' ' + f()->Text3->text(), times);
    }

    void stopTooltip()
    {
        open();
        w->startAction();
        QVERIFY(f()->Command3->toolTip().isEmpty());
        const QPoint stop = f()->Command3->mapTo(w.get(), QPoint(5, 5));
        QTest::mouseMove(w->windowHandle(), stop);
        QCOMPARE(f()->Command3->toolTip(), "Закончить запоминание слов");
        memorise();
        QTest::mouseMove(w->windowHandle(), stop + QPoint(1, 1));
        QCOMPARE(f()->Command3->toolTip(), "Закончить воспроизведение слов");
    }

    void recallBox()
    {
        open();
        program->writeText("mfiles/wmbase.txt",
                           "кот\r\nкотёнок\r\nёж\r\nёж\r\n\r\n сад\r\nдом\r\nлес\r\nмост\r\nсыр\r\n");
        w->startAction();
        memorise();
        vb::TextBox *box = f()->Text4;
        typeText(box, "котёнок"); // КОТ is taken after three letters...
        QCOMPARE(box->text(), "ЁНОК");
        // ...and emptying the box took the empty word too, inside the same change.
        QVERIFY(!slot("кот")->isHidden() && !slot("")->isHidden() && slot("котёнок")->isHidden());
        QCOMPARE(f()->Label27->caption(), "2");
        box->clear();
        typeText(box, "кот"); // already shown: stays in the box
        QCOMPARE(box->text(), "КОТ");
        typeText(box, "ёнок");
        QCOMPARE(box->text() + f()->Label27->caption(), "3");
        typeText(box, "ёж"); // a repeated word is typed twice, the lower slot first
        QCOMPARE(f()->Label27->caption(), "4");
        typeText(box, "ёж");
        typeText(box, "сад"); // the stored word starts with a blank
        QCOMPARE(box->text(), "САД");
        box->clear();
        typeText(box, " сад");
        QGuiApplication::clipboard()->setText("дом"); // pasted text is not upper-cased
        box->paste();
        QCOMPARE(box->text(), "дом");
        box->clear();
        QInputMethodEvent commit; // text from an input method is
        commit.setCommitString("лес");
        QApplication::sendEvent(box, &commit);
        QCOMPARE(f()->Label27->caption(), "7");
        typeText(box, "доммостсыр");
        QCOMPARE(f()->Label24->caption(), "1"); // all found: the results come at the next tick
        QVERIFY(f()->Frame4->isHidden());
        w->Timer2_Timer();
        QCOMPARE(captions({f()->Label32, f()->Label47}), "50 59,6");
    }

    void enterAsksToEnd_data()
    {
        columns<EnterAsksToEndRow>();
        addRow("yes", "Да", Qt::KeyboardModifiers(), false, "1 70");
        addRow("yes with shift", "Да", Qt::KeyboardModifiers(Qt::ShiftModifier), false, "1 70");
        addRow("no", "Нет", Qt::KeyboardModifiers(), false, "50 120");
        addRow("yes after the end", "Да", Qt::KeyboardModifiers(Qt::ControlModifier), true, "0 120");
    }
    void enterAsksToEnd()
    {
        const auto [answer, modifiers, endsMeanwhile, after] = fetch<EnterAsksToEndRow>();
        open();
        program->writeOptions("wmbase.txt", "10", "10", "120");
        w->startAction();
        memorise();
        recall(70);
        typeText(f()->Text4, "xyz");
        BoxAnswer box(answer, [&] { endsMeanwhile ? recall() : void(); });
        QTest::keyClick(f()->Text4, Qt::Key_Return, modifiers);
        QCOMPARE(box.title + box.text, "Darizi2Вы хотите закончить воспроизведение слов?");
        QCOMPARE(box.defaultButton, "Да");
        QVERIFY(!box.icon);
        QCOMPARE(f()->Label24->caption() + ' ' + f()->Text3->text(), after);
        QCOMPARE(f()->Text4->text(), "XYZ");
    }

    void resultsAndReview_data()
    {
        columns<ResultsAndReviewRow>();
        addRow("7 of 10", "10 10 60", 7, "35 5,6 1,12 1 42,72");
        addRow("none", "10 10 60", 0, "0 0 0 1 1");
        addRow("all, quickly", "10 10 180", 10, "50 8 1,6 1 60,6"); // the recall time used counts
        addRow("15 digits", "17 30 180", 13,
               "38,2352941176471 3,46666666666667 0,693333333333333 1 "
               "43,3952941176471");
    }
    void resultsAndReview()
    {
        const auto [options, found, scores] = fetch<ResultsAndReviewRow>();
        open();
        const QStringList o = options.split(' ');
        program->writeOptions("wmbase.txt", o[0], o[1], o[2]);
        w->startAction();
        memorise();
        for (int i = 0; i < found; ++i)
            typeText(f()->Text4, f()->Label25[i]->caption());
        recall();
        QCOMPARE(captions({f()->Label32, f()->Label43, f()->Label44, f()->Label45, f()->Label47}), scores);
        for (vb::Label *cell :
             {f()->Label30, f()->Label32, f()->Label43, f()->Label44, f()->Label47}) // none cut
            QVERIFY2(cell->heightForWidth(cell->width()) <= cell->height(), qPrintable(cell->objectName()));

        QTest::mouseClick(f()->Command4, Qt::LeftButton);
        QVERIFY(f()->Frame4->isHidden() && !f()->Frame3->isHidden());
        QVERIFY(f()->Text4->isHidden() && f()->Command3->isHidden() && f()->Label23->isHidden());
        const int words = o[0].toInt();
        for (int i = 0; i < 50; ++i) {
            QCOMPARE(f()->Label25[i]->isHidden(), i >= words);
            if (i < words)
                QCOMPARE(f()->Label25[i]->foreColor(), i < found ? vb::windowTextColor() : vb::red);
        }
    }
};

QTEST_MAIN(tst_training)
#include "tst_training.moc"
