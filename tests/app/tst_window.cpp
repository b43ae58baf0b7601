// The window at start-up, its reset, the menu with its hover highlight, and the shortcuts.
#include "support.h"

#include <QWindow>

// Columns: item, key, extra, page.
using MenuAndShortcutsRow = std::tuple<int, Qt::Key, Qt::KeyboardModifiers, QString>;
// Columns: item, answer, endsMeanwhile, page.
using SwitchDuringTrainingRow = std::tuple<int, QString, bool, QString>;

class tst_window : public QObject, WindowTest
{
    Q_OBJECT

    QString page() const
    {
        QStringList shown;
        for (vb::Frame *p : f()->pages())
            if (!p->isHidden())
                shown << p->objectName();
        return shown.join(',');
    }
    QList<quint32> menu() const
    {
        QList<quint32> colours;
        for (const vb::Label *item : f()->Label2)
            colours << (item->backColor() == vb::grey ? 0 : item->backColor());
        return colours;
    }
    void altKey(Qt::Key key, Qt::KeyboardModifiers extra = {})
    {
        // As a keyboard sends it, through the window; QTest presses and releases Alt itself.
        QTest::keyClick(w->windowHandle(), key, Qt::AltModifier | extra);
    }

private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void startUpState()
    {
        QCOMPARE(w->windowTitle(), "Зорвик v.2.1");
        QCOMPARE(w->size(), QSize(537, 373));
        QCOMPARE(page(), "Frame1");
        QVERIFY(!w->trainingRunning());
        QCOMPARE(f()->Label22->caption() + f()->Text1->text() + f()->Text3->text(), "wmbase.txt1060");
        QVERIFY(f()->Command1->isEnabled() && f()->Label17->isHidden() && f()->Label21->isHidden());
        QVERIFY(f()->Image1->pixmap().isNull()); // no logo in the scratch folder
        QVERIFY(QCoreApplication::translate("QLineEdit", "Select All") != "Select All"); // Qt's texts too
        QCOMPARE(f()->Line24[4], nullptr);
        // Twips to pixels; the grid is filled column by column, the third column has 16 slots.
        QCOMPARE(f()->Frame3->geometry(), QRect(0, 70, 540, 281));
        QCOMPARE(f()->Label25[17]->geometry(), QRect(287, 7, 113, 15));
        QCOMPARE(f()->Label25[49]->pos(), QPoint(406, 217));
    }

    void stacking()
    {
        // Later siblings lie on top: separators let the item below take the pointer, the title lies
        // over the band, the pages over everything.
        const std::pair<QPoint, const char *> probes[] = {{{500, 40}, "Label3"},
                                                          {{20, 40}, "Label1"},
                                                          {{308, 5}, "Label2"},
                                                          {{20, 360}, "Label4"},
                                                          {{500, 70}, "Frame1"}};
        for (const auto &[pos, name] : probes)
            QCOMPARE(w->childAt(pos)->objectName(), name);
    }

    void startUpFiles()
    {
        // Damaged files are the robustness suite's; here the list pattern and the logo.
        for (const char *name : {"B.TXT", "c.txtold", "d.doc", "e\n.txt"})
            program->write(QString("mfiles/") + name, QByteArray("x\r\n"));
        QDir(program->path("mfiles")).mkdir("dir.txt");
        QFile::copy(ZORVIK_DATA_DIR "/mfiles/logo.gif", program->path("mfiles/logo.gif"));
        open();
        QStringList names;
        for (int i = 0; i < f()->File1->count(); ++i)
            names << f()->File1->item(i)->text();
        QCOMPARE(names.join(' '), "B.TXT c.txtold wmbase.txt");
        QCOMPARE(f()->File1->currentRow(), -1);
        QCOMPARE(f()->Image1->pixmap().size(), QSize(57, 57));
        QCOMPARE(f()->Image2->pixmap().size(), QSize(57, 57));
    }

    void resetFromAClickOnTheOldControls()
    {
        w->move(40, 30);
        QPointer<Form> old = f();
        f()->Text1->setText("33"); // typed, never applied
        QFile::remove(program->path("mfiles/wmbase.txt"));
        // The missing base is reported in a message box, whose event loop runs while the old
        // "Старт" is still inside its click.
        bool oldAliveDuringTheBox = false;
        BoxAnswer box("ОК", [&] { oldAliveDuringTheBox = old && old->isHidden(); });
        QTest::mouseClick(f()->Label2[0], Qt::LeftButton);
        QVERIFY(box.shown && oldAliveDuringTheBox && f() != old);
        QCOMPARE(f()->Text1->text(), "10");
        QCOMPARE(page(), "Frame2"); // where another base is chosen
        QCOMPARE(w->pos(), QPoint(40, 30));
        QVERIFY(old); // still alive: it was running the click
        w->resetWindow();
        QVERIFY(!old); // gone at the next reset
    }

    void doubleClickActsOnce()
    {
        QPointer<Form> old = f();
        const QPoint start = f()->Label2[0]->mapTo(w.get(), QPoint(5, 5));
        QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {}, start);
        QVERIFY(old && f() != old); // one reset: a second one deletes the set the first replaced
    }

    void resetFromAKeyDuringRecall()
    {
        w->startAction();
        memorise();
        QCOMPARE(QApplication::focusWidget(), f()->Text4);
        QPointer<Form> old = f();
        altKey(Qt::Key_N);
        QVERIFY(f() != old && !old->Timer2->isActive() && f()->Timer1->isActive());
        QCOMPARE(old->Text4->text(), QString()); // the old box never got the letter
        QVERIFY(!w->altHeld());
    }

    void menuAndShortcuts_data()
    {
        columns<MenuAndShortcutsRow>();
        addRow("Старт", 0, Qt::Key(0), Qt::KeyboardModifiers(), "Frame3");
        addRow("Настройки", 1, Qt::Key(0), Qt::KeyboardModifiers(), "Frame2");
        addRow("Справка", 2, Qt::Key(0), Qt::KeyboardModifiers(), "Frame6");
        addRow("Ctrl+Alt+N", -1, Qt::Key_N, Qt::KeyboardModifiers(Qt::ControlModifier), "Frame3");
        addRow("Alt+P", -1, Qt::Key_P, Qt::KeyboardModifiers(), "Frame2");
        addRow("Shift+Alt+H", -1, Qt::Key_H, Qt::KeyboardModifiers(Qt::ShiftModifier), "Frame6");
        addRow("Alt+X", -1, Qt::Key_X, Qt::KeyboardModifiers(), "Frame1");
        addRow("Выход", 3, Qt::Key(0), Qt::KeyboardModifiers(), "");
        addRow("Alt+Q", -1, Qt::Key_Q, Qt::KeyboardModifiers(), "");
    }
    void menuAndShortcuts()
    {
        const auto [item, key, extra, page] = fetch<MenuAndShortcutsRow>();
        item >= 0 ? QTest::mouseClick(f()->Label2[item], Qt::LeftButton) : altKey(key, extra);
        QCOMPARE(w->isVisible(), !page.isEmpty());
        if (w->isVisible())
            QCOMPARE(this->page(), page);
        QCOMPARE(w->trainingRunning(), page == "Frame3");
    }

    void switchDuringTraining_data()
    {
        columns<SwitchDuringTrainingRow>();
        addRow("settings ok", 1, "ОК", false, "Frame2");
        addRow("settings cancel", 1, "Отмена", false, "Frame3");
        addRow("help ok", 2, "ОК", false, "Frame6");
        addRow("ended while asking, cancel", 2, "Отмена", true, "Frame6");
        // The question leaves no focus widget; the key climbing on to the window asks nothing more.
        addRow("Alt+P, cancel", -1, "Отмена", false, "Frame3");
    }
    void switchDuringTraining()
    {
        const auto [item, answer, endsMeanwhile, page] = fetch<SwitchDuringTrainingRow>();
        w->startAction();
        w->Timer1_Timer();
        BoxAnswer box(answer, [&] {
            for (int i = 0; endsMeanwhile && i < 2; ++i) {
                w->stopPhase();
                i ? w->Timer2_Timer() : w->Timer1_Timer();
            }
        });
        BoxAnswer again(answer);
        item >= 0 ? w->Label2_Click(item) : altKey(Qt::Key_P);
        QVERIFY(!again.shown);
        QCOMPARE(box.title + box.text, "Darizi2Это действие сбросит текущий процесс");
        QVERIFY(!box.icon && box.buttons.size() == 2);
        QCOMPARE(this->page(), page);
        QCOMPARE(w->trainingRunning(), page == "Frame3");
        QCOMPARE(f()->Label23->caption(), endsMeanwhile ? "0" : "9"); // the page keeps what it showed
    }

    void hover()
    {
        const auto moveTo = [&](int x, int y) { QTest::mouseMove(w->windowHandle(), QPoint(x, y)); };
        moveTo(20, 10);
        QCOMPARE(menu(), (QList<quint32>{vb::darkBlue, 0, 0, 0}));
        moveTo(100, 10);
        moveTo(30, 45);   // the title lies over the band and keeps the highlight
        moveTo(200, 200); // so does a page
        QTest::mouseClick(f()->Label2[2], Qt::LeftButton, {}, QPoint(5, 5)); // and a click
        QCOMPARE(menu(), (QList<quint32>{0, vb::darkBlue, 0, 0}));
        moveTo(500, 40); // the bare band clears it
        QCOMPARE(menu(), (QList<quint32>{0, 0, 0, 0}));
    }

    void altHeldRules()
    {
        QTest::keyPress(w->windowHandle(), Qt::Key_Alt, Qt::AltModifier);
        QVERIFY(w->altHeld());
        QTest::keyClick(w->windowHandle(), Qt::Key_N, Qt::AltModifier);
        QVERIFY(!w->altHeld()); // the reset re-activates the window
        const Form *started = f();
        QKeyEvent again(QEvent::KeyPress, Qt::Key_N, Qt::AltModifier, "n"); // no new Alt press
        QApplication::sendEvent(w->windowHandle(), &again);
        QCOMPARE(f(), started);

        // An Alt release the window never saw leaves the flag set: a bare H then acts as Alt+H.
        w->resetWindow();
        w->Form_KeyDown(18);
        QTest::keyClick(w->windowHandle(), Qt::Key_H);
        QCOMPARE(page(), "Frame6");
    }

    void lettersWithoutAltAreTyped()
    {
        w->settingsAction();
        f()->Text1->setFocus();
        for (Qt::Key key : {Qt::Key_N, Qt::Key_Q, Qt::Key_H, Qt::Key_P})
            QTest::keyClick(w->windowHandle(), key);
        QTest::keyClick(w->windowHandle(), Qt::Key_X, Qt::AltModifier); // never typed
        QCOMPARE(f()->Text1->text(), "10nqhp");
        QCOMPARE(page(), "Frame2");
    }
};

QTEST_MAIN(tst_window)
#include "tst_window.moc"
