// The help pages and the credits line.
#include "help/helptexts.h"
#include "support.h"

#include <QClipboard>
#include <QWindow>

class tst_help : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScratchProgram> program;
    std::unique_ptr<frmvaruva> w;

    Form *f() const { return w->controls(); }
    QList<bool> underlines() const
    {
        QList<bool> u;
        for (const vb::Label *link : f()->helpLinks())
            u << link->underline();
        return u;
    }
    void moveOver(QWidget *widget, QPoint offset = QPoint(3, 3))
    {
        QTest::mouseMove(w->windowHandle(), widget->mapTo(w.get(), offset));
    }

private slots:
    void init()
    {
        program = std::make_unique<ScratchProgram>();
        w = std::make_unique<frmvaruva>();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->helpAction();
    }
    void cleanup()
    {
        w.reset();
        program.reset();
    }

    void contents()
    {
        QVERIFY(!f()->Frame6->isHidden());
        QCOMPARE(f()->Label53->caption(),
                 QStringLiteral(
                     "   Предлагаемая программа предназначена для развития зрительной памяти человека. За "
                     "заданный промежуток времени Вам нужно запомнить определённое количество слов. После "
                     "чего вы должны воспроизвести все эти слова.\r\n\n    Более подробно о работе с "
                     "программой читайте в следующих разделах справки\r\n"));
        for (const vb::Label *link : f()->helpLinks()) {
            QCOMPARE(link->foreColor(), vb::green);
            QVERIFY(link->font().bold());
            QVERIFY(!link->underline());
        }
    }

    void topics_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::newRow("settings") << "Label54"
                                  << "Настройки программы"
                                  << "Файл базы слов - это файл"
                                  << "от 60 до 180 секунд включительно.";
        QTest::newRow("work")
            << "Label55"
            << "Работа с программой"
            << "При нажатии на кнопку старт"
            << "Ели вы хотите закончить запоминание или воспроизведение слов до конца доступного "
               "времени нажмите на кнопку Стоп.";
        QTest::newRow("results") << "Label56"
                                 << "Результаты"
                                 << "Окно результаты, появляющееся"
                                 << "общий результат в процентах.";
        QTest::newRow("keys") << "Label58"
                              << "Горячие клавиши"
                              << "Alt+N - новая тренировка; Alt+Q - выход; "
                              << "Alt+P - настройки;  Enter - окончание запоминания и ввода слов";
        QTest::newRow("other program") << "Label57"
                                       << "Новые программы Quelbrin - Цифролов"
                                       << "Цифролов"
                                       << "дат и кодов.";
    }
    void topics()
    {
        QFETCH(QString, link);
        QFETCH(QString, title);
        QFETCH(QString, start);
        QFETCH(QString, end);
        // Another topic first, so that nothing of it may remain.
        QTest::mouseClick(f()->Label56, Qt::LeftButton);
        QTest::mouseClick(f()->Command5, Qt::LeftButton);
        QVERIFY(!f()->Frame6->isHidden());
        QVERIFY(f()->Frame5->isHidden());

        QTest::mouseClick(f()->findChild<vb::Label *>(link), Qt::LeftButton);
        QVERIFY(!f()->Frame5->isHidden());
        QVERIFY(f()->Frame6->isHidden());
        QCOMPARE(f()->Label50->caption(), title);
        QVERIFY(f()->Label51->caption().startsWith(start));
        QVERIFY(f()->Label51->caption().endsWith(end));
    }

    void settingsTopicParagraphs()
    {
        w->helpLink_Click(f()->Label54);
        const QStringList paragraphs = f()->Label51->caption().split(QStringLiteral("\r\n\r\n"));
        QCOMPARE(paragraphs.size(), 4);
        for (const QString &p : paragraphs)
            QVERIFY(!p.contains(u'\r') && !p.contains(u'\n') && !p.isEmpty());
        QVERIFY(paragraphs[3].startsWith(QStringLiteral("Параметр Время воспроизведения")));
    }

    void underline()
    {
        moveOver(f()->Label54);
        QCOMPARE(underlines(), (QList<bool>{1, 0, 0, 0, 0}));
        moveOver(f()->Label53); // the introduction changes nothing
        moveOver(f()->Label52);
        QCOMPARE(underlines(), (QList<bool>{1, 0, 0, 0, 0}));
        moveOver(f()->Label58);
        QCOMPARE(underlines(), (QList<bool>{1, 0, 0, 1, 0}));
        moveOver(f()->Frame6, QPoint(500, 250)); // the bare background
        QCOMPARE(underlines(), (QList<bool>{0, 0, 0, 0, 0}));

        // A clicked link is still underlined when "Назад" brings the contents back.
        moveOver(f()->Label57);
        QTest::mouseClick(f()->Label57, Qt::LeftButton);
        QTest::mouseClick(f()->Command5, Qt::LeftButton);
        QCOMPARE(underlines(), (QList<bool>{0, 0, 0, 0, 1}));
        QCOMPARE(f()->Label57->foreColor(), vb::green);
    }

    void helpAgainShowsTheContents()
    {
        w->helpLink_Click(f()->Label55);
        w->helpAction();
        QVERIFY(!f()->Frame6->isHidden());
        QVERIFY(f()->Frame5->isHidden());
        w->startAction();
        f()->Timer1->stop();
        QCOMPARE(f()->Label50->caption(), QString()); // a reset empties the topic page
    }

    void creditsCopyTheAddress()
    {
        const QString caption = f()->Label4->caption();
        QVERIFY(caption.contains(QStringLiteral("  ") + helptexts::webAddress() + QStringLiteral("  ")));
        QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
        w->settingsAction();
        BoxAnswer box("ОК");
        QTest::mouseClick(f()->Label4, Qt::LeftButton);
        QVERIFY(box.shown);
        QCOMPARE(box.title, QStringLiteral("Darizi2"));
        QCOMPARE(box.text, QStringLiteral("Адрес в интернете скопирован в буфер обмена"));
        QCOMPARE(box.buttons, QStringList{"ОК"});
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("https://quelbrin.example"));
        QVERIFY(!f()->Frame2->isHidden());
        QCOMPARE(f()->Label4->caption(), caption);
    }
};

QTEST_MAIN(tst_help)
#include "tst_help.moc"
