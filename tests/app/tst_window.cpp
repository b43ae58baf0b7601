// The window at start-up, its reset, the menu with its hover highlight, and the shortcuts.
#include "support.h"

#include <QMouseEvent>
#include <QWindow>

namespace
{

// Moves the pointer to a point of the window; the event reaches whatever control lies there.
void moveTo(frmvaruva &w, QPoint pos)
{
    QTest::mouseMove(w.windowHandle(), pos);
}

QList<quint32> menuColours(const Form *f)
{
    QList<quint32> colours;
    for (const vb::Label *item : f->Label2)
        colours << item->backColor();
    return colours;
}

QWidget *visiblePage(const Form *f)
{
    QWidget *shown = nullptr;
    for (vb::Frame *page : f->pages()) {
        if (!page->isHidden()) {
            if (shown)
                return nullptr; // more than one
            shown = page;
        }
    }
    return shown;
}

} // namespace

class tst_window : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScratchProgram> program;
    std::unique_ptr<frmvaruva> w;

    Form *f() const { return w->controls(); }
    void open()
    {
        w = std::make_unique<frmvaruva>();
        w->setSeed(1);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

private slots:
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

    void startUpState()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral("Зорвик v.2.1"));
        QCOMPARE(w->size(), QSize(537, 373));
        QCOMPARE(visiblePage(f()), f()->Frame1);
        QVERIFY(!w->trainingRunning());
        QCOMPARE(f()->Label22->caption(), QStringLiteral("wmbase.txt"));
        QCOMPARE(f()->Text1->text(), QStringLiteral("10"));
        QCOMPARE(f()->Text3->text(), QStringLiteral("60"));
        QVERIFY(f()->Command1->isEnabled());
        QVERIFY(f()->Image1->pixmap().isNull()); // no logo in the scratch folder
        for (vb::Label *warning : {f()->Label17, f()->Label19, f()->Label20, f()->Label21})
            QVERIFY(warning->isHidden());
        QCOMPARE(f()->Line24[4], nullptr);
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("Label3") << "Label3" << QRect(0, 0, 540, 71);
        QTest::newRow("Label4") << "Label4" << QRect(0, 351, 540, 22);
        QTest::newRow("Frame3") << "Frame3" << QRect(0, 70, 540, 281);
        QTest::newRow("Text4") << "Text4" << QRect(203, 246, 267, 32);
        QTest::newRow("Command1") << "Command1" << QRect(287, 252, 120, 22);
        QTest::newRow("Label47") << "Label47" << QRect(336, 161, 141, 78);
    }
    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        auto *widget = f()->findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), rect);
    }

    void wordGrid()
    {
        // Three columns filled column by column; the third holds only 16 slots.
        QCOMPARE(f()->Label25[0]->geometry(), QRect(168, 7, 113, 15));
        QCOMPARE(f()->Label25[16]->geometry().topLeft(), QPoint(168, 7 + 14 * 16));
        QCOMPARE(f()->Label25[17]->geometry().topLeft(), QPoint(287, 7));
        QCOMPARE(f()->Label25[33]->geometry().topLeft(), QPoint(287, 231));
        QCOMPARE(f()->Label25[49]->geometry().topLeft(), QPoint(406, 217));
        for (vb::Label *slot : f()->Label25)
            QCOMPARE(slot->caption(), QStringLiteral("Label25"));
    }

    void stacking_data()
    {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QString>("top");
        QTest::newRow("separator lets the item below take the pointer") << QPoint(77, 5) << "Label2";
        QTest::newRow("title over band") << QPoint(20, 40) << "Label1";
        QTest::newRow("bare band") << QPoint(500, 40) << "Label3";
        QTest::newRow("page over band") << QPoint(500, 70) << "Frame1";
        QTest::newRow("credits") << QPoint(20, 360) << "Label4";
    }
    void stacking()
    {
        QFETCH(QPoint, pos);
        QFETCH(QString, top);
        QWidget *at = w->childAt(pos);
        QVERIFY(at);
        QCOMPARE(at->objectName(), top);
    }

    void tabOrder()
    {
        QStringList order;
        QWidget *start = f()->Text1;
        for (QWidget *next = start; order.size() < 10; next = next->nextInFocusChain()) {
            if (next->focusPolicy() & Qt::TabFocus)
                order << next->objectName();
        }
        QCOMPARE(order, (QStringList{"Text1", "Text2", "Text3", "File1", "Command1", "Command2", "Text4",
                                     "Command3", "Command4", "Command5"}));
    }

    void fileListPatternAndLogo()
    {
        w.reset();
        program->writeBase("B.TXT", 60);
        program->write("mfiles/c.txtold", "x\r\n");
        program->write("mfiles/d.doc", "x\r\n");
        QDir(program->path("mfiles")).mkdir("folder.txt");
        QFile::copy(ZORVIK_DATA_DIR "/mfiles/logo.gif", program->path("mfiles/logo.gif"));
        open();
        QStringList listed;
        for (int i = 0; i < f()->File1->count(); ++i)
            listed << f()->File1->item(i)->text();
        QCOMPARE(listed, (QStringList{"B.TXT", "c.txtold", "wmbase.txt"}));
        QCOMPARE(f()->File1->currentRow(), -1);
        QCOMPARE(f()->Image1->pixmap().size(), QSize(57, 57));
        QCOMPARE(f()->Image2->pixmap().size(), QSize(57, 57));
    }

    void opensWithoutItsFiles_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("no mfiles") << "no mfiles";
        QTest::newRow("broken logo") << "broken logo";
        QTest::newRow("short options") << "short options";
    }
    void opensWithoutItsFiles()
    {
        QFETCH(QString, damage);
        w.reset();
        if (damage == "no mfiles")
            QVERIFY(QDir(program->path("mfiles")).removeRecursively());
        else if (damage == "broken logo")
            program->write("mfiles/logo.gif", "GIF89a\x39\x00");
        else
            program->write("mfiles/options.ini", "other.txt\r\n20\r\n");
        open();
        QCOMPARE(visiblePage(f()), f()->Frame1);
        QVERIFY(f()->Image1->pixmap().isNull());
        QCOMPARE(f()->Label22->caption(),
                 damage == "short options" ? QStringLiteral("other.txt") : "wmbase.txt");
        QCOMPARE(f()->Text1->text(), damage == "short options" ? QStringLiteral("20") : "10");
        QCOMPARE(f()->Text3->text(), QStringLiteral("60"));
    }

    void resetFromAClickOnTheOldControls()
    {
        QPointer<Form> old = f();
        w->move(40, 30);
        const QPoint place = w->pos();
        f()->Text1->setText("33"); // typed, never applied
        QTest::mouseClick(f()->Label2[0], Qt::LeftButton);
        QVERIFY(f() != old);
        QVERIFY(old); // still alive: it was running the click
        QVERIFY(old->isHidden());
        QVERIFY(!old->Timer1->isActive());
        processDeferredDeletes();
        QVERIFY(!old);
        QCOMPARE(f()->Text1->text(), QStringLiteral("10"));
        QCOMPARE(visiblePage(f()), f()->Frame3);
        QVERIFY(f()->Timer1->isActive());
        QCOMPARE(w->pos(), place); // the window itself stays where it is
    }

    void resetFromAKeyDuringRecall()
    {
        w->startAction();
        for (int i = 0; i < 10; ++i)
            w->Timer1_Timer();
        QVERIFY(f()->Timer2->isActive());
        QCOMPARE(QApplication::focusWidget(), f()->Text4);
        QPointer<Form> old = f();
        altKey(*w, Qt::Key_N);
        QVERIFY(f() != old);
        QVERIFY(!old->Timer2->isActive());
        QVERIFY(f()->Timer1->isActive());
        QCOMPARE(f()->Text4->text(), QString());
        QCOMPARE(old->Text4->text(), QString()); // the old box never got the letter
        QVERIFY(!w->altHeld());
    }

    void menuActions_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("page");
        QTest::newRow("start") << 0 << "Frame3";
        QTest::newRow("settings") << 1 << "Frame2";
        QTest::newRow("help") << 2 << "Frame6";
    }
    void menuActions()
    {
        QFETCH(int, item);
        QFETCH(QString, page);
        QTest::mouseClick(f()->Label2[item], Qt::LeftButton);
        QCOMPARE(visiblePage(f())->objectName(), page);
        QCOMPARE(w->trainingRunning(), item == 0);
    }

    void exitClosesAtOnce()
    {
        w->startAction();
        QTest::mouseClick(f()->Label2[3], Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(program->read("mfiles/options.ini"), QByteArray("wmbase.txt\r\n10\r\n10\r\n60\r\n\r\n"));
    }

    void switchDuringTraining_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("endsMeanwhile");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("running");
        QTest::newRow("settings ok") << 1 << "ОК" << false << "Frame2" << false;
        QTest::newRow("settings cancel") << 1 << "Отмена" << false << "Frame3" << true;
        QTest::newRow("help ok") << 2 << "ОК" << false << "Frame6" << false;
        QTest::newRow("help cancel") << 2 << "Отмена" << false << "Frame3" << true;
        QTest::newRow("ended while asking, cancel") << 2 << "Отмена" << true << "Frame6" << false;
    }
    void switchDuringTraining()
    {
        QFETCH(int, item);
        QFETCH(QString, answer);
        QFETCH(bool, endsMeanwhile);
        QFETCH(QString, page);
        QFETCH(bool, running);
        w->startAction();
        w->Timer1_Timer();
        const QString countdown = f()->Label23->caption();
        BoxAnswer box(answer, [&] {
            if (endsMeanwhile) {
                w->stopPhase();
                w->Timer1_Timer(); // to recall
                w->stopPhase();
                w->Timer2_Timer(); // to the results
            }
        });
        w->Label2_Click(item);
        QVERIFY(box.shown);
        QCOMPARE(box.title, QStringLiteral("Darizi2"));
        QCOMPARE(box.text, QStringLiteral("Это действие сбросит текущий процесс"));
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttons.size(), 2);
        QCOMPARE(visiblePage(f())->objectName(), page);
        QCOMPARE(w->trainingRunning(), running);
        if (!endsMeanwhile) {
            QCOMPARE(f()->Label23->caption(), countdown);           // the training page keeps what it showed
            QCOMPARE(f()->Label47->caption(), QStringLiteral("0")); // and nothing is scored
        }
    }

    void settingsAgainReloads()
    {
        w->settingsAction();
        f()->Text1->setText("44");
        w->settingsAction();
        QCOMPARE(f()->Text1->text(), QStringLiteral("10"));
    }

    void hover()
    {
        const QList<quint32> none{vb::grey, vb::grey, vb::grey, vb::grey};
        moveTo(*w, QPoint(20, 10));
        QCOMPARE(menuColours(f()), (QList<quint32>{vb::darkBlue, vb::grey, vb::grey, vb::grey}));
        moveTo(*w, QPoint(100, 10));
        QCOMPARE(menuColours(f()), (QList<quint32>{vb::grey, vb::darkBlue, vb::grey, vb::grey}));
        moveTo(*w, QPoint(30, 45)); // the title lies over the band and keeps the highlight
        QCOMPARE(menuColours(f()), (QList<quint32>{vb::grey, vb::darkBlue, vb::grey, vb::grey}));
        moveTo(*w, QPoint(200, 200)); // straight onto a page
        QCOMPARE(menuColours(f()), (QList<quint32>{vb::grey, vb::darkBlue, vb::grey, vb::grey}));
        QTest::mouseClick(f()->Label2[2], Qt::LeftButton, {}, QPoint(5, 5)); // a click changes nothing
        QCOMPARE(menuColours(f()), (QList<quint32>{vb::grey, vb::darkBlue, vb::grey, vb::grey}));
        moveTo(*w, QPoint(500, 40)); // the bare band
        QCOMPARE(menuColours(f()), none);
        moveTo(*w, QPoint(250, 10));
        w->startAction(); // a reset greys every item
        QCOMPARE(menuColours(f()), none);
    }

    void shortcuts_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("extra");
        QTest::addColumn<QString>("page");
        QTest::newRow("Alt+N") << Qt::Key_N << Qt::KeyboardModifiers() << "Frame3";
        QTest::newRow("Ctrl+Alt+N") << Qt::Key_N << Qt::KeyboardModifiers(Qt::ControlModifier) << "Frame3";
        QTest::newRow("Alt+P") << Qt::Key_P << Qt::KeyboardModifiers() << "Frame2";
        QTest::newRow("Shift+Alt+H") << Qt::Key_H << Qt::KeyboardModifiers(Qt::ShiftModifier) << "Frame6";
        QTest::newRow("Alt+X does nothing") << Qt::Key_X << Qt::KeyboardModifiers() << "Frame1";
    }
    void shortcuts()
    {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, extra);
        QFETCH(QString, page);
        altKey(*w, key, extra);
        QCOMPARE(visiblePage(f())->objectName(), page);
        QVERIFY(!w->altHeld());
    }

    void altQCloses()
    {
        altKey(*w, Qt::Key_Q);
        QVERIFY(!w->isVisible());
    }

    void altHeldRules()
    {
        QTest::keyPress(keyTarget(*w), Qt::Key_Alt, Qt::AltModifier);
        QVERIFY(w->altHeld());
        QTest::keyClick(keyTarget(*w), Qt::Key_N, Qt::AltModifier);
        QCOMPARE(visiblePage(f()), f()->Frame3);
        QVERIFY(!w->altHeld()); // the reset re-activates the window
        const Form *started = f();
        // N again with Alt still down but no new Alt press (QTest would send one for the modifier).
        QKeyEvent again(QEvent::KeyPress, Qt::Key_N, Qt::AltModifier, QStringLiteral("n"));
        QApplication::sendEvent(keyTarget(*w), &again);
        QCOMPARE(f(), started); // Alt must be pressed again
        QTest::keyRelease(keyTarget(*w), Qt::Key_Alt);

        // An Alt release the window never saw leaves the flag set: a bare H then acts as Alt+H.
        w->resetWindow();
        w->Form_KeyDown(18);
        QTest::keyClick(keyTarget(*w), Qt::Key_H);
        QCOMPARE(visiblePage(f()), f()->Frame6);
        w->Form_Activate();
        QVERIFY(!w->altHeld());
    }

    void lettersWithoutAltAreTyped()
    {
        w->settingsAction();
        f()->Text1->setFocus();
        f()->Text1->clear();
        QTest::keyClicks(keyTarget(*w), "nqhp");
        QCOMPARE(f()->Text1->text(), QStringLiteral("nqhp"));
        QCOMPARE(visiblePage(f()), f()->Frame2);
        // Alt with a letter never types it.
        QTest::keyClick(keyTarget(*w), Qt::Key_X, Qt::AltModifier);
        QCOMPARE(f()->Text1->text(), QStringLiteral("nqhp"));
    }

    void enterWithoutFocusDoesNothing()
    {
        QApplication::focusWidget() ? QApplication::focusWidget()->clearFocus() : void();
        QTest::keyClick(keyTarget(*w), Qt::Key_Return);
        QCOMPARE(visiblePage(f()), f()->Frame1);
    }
};

QTEST_MAIN(tst_window)
#include "tst_window.moc"
