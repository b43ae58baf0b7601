// The help pages and the credits line.
#include "support.h"

#include <QClipboard>
#include <QWindow>

// Columns: link, title, text (its start and its end).
using TopicsRow = std::tuple<QString, QString, QString>;

class tst_help : public QObject, WindowTest
{
    Q_OBJECT

    QString underlines() const
    {
        QString u;
        for (const vb::Label *link : f()->helpLinks())
            u += link->underline() ? '_' : '-';
        return u;
    }
    void moveOver(QWidget *widget, QPoint offset = QPoint(3, 3))
    {
        QTest::mouseMove(w->windowHandle(), widget->mapTo(w.get(), offset));
    }

private slots:
    void init()
    {
        open();
        w->helpAction();
    }
    void cleanup() { close(); }

    void topics_data()
    {
        columns<TopicsRow>();
        addRow("settings", "Label54", "Настройки программы",
               "Файл базы слов - это файл|от 60 до 180 секунд включительно.");
        addRow("work", "Label55", "Работа с программой",
               "При нажатии на кнопку старт|Ели вы хотите закончить запоминание или воспроизведение "
               "слов до конца доступного времени нажмите на кнопку Стоп.");
        addRow("results", "Label56", "Результаты", "Окно результаты, появляющееся|в процентах.");
        addRow(
            "keys", "Label58", "Горячие клавиши",
            "Alt+N - новая тренировка; Alt+Q - выход; Alt+H - справка; Alt+P - настройки;  Enter - окончание "
            "запоминания и ввода слов|");
        addRow("other program", "Label57", "Новые программы Quelbrin - Цифролов", "Цифролов|кодов.");
    }
    void topics()
    {
        const auto [link, title, text] = fetch<TopicsRow>();
        QTest::mouseClick(f()->Label56, Qt::LeftButton); // another topic first: nothing of it may remain
        QTest::mouseClick(f()->Command5, Qt::LeftButton);
        QVERIFY(!f()->Frame6->isHidden() && f()->Frame5->isHidden());
        QTest::mouseClick(f()->findChild<vb::Label *>(link), Qt::LeftButton);
        QVERIFY(!f()->Frame5->isHidden() && f()->Frame6->isHidden());
        QCOMPARE(f()->Label50->caption(), title);
        QVERIFY(f()->Label51->caption().startsWith(text.section('|', 0, 0)));
        QVERIFY(f()->Label51->caption().endsWith(text.section('|', 1, 1)));
        QVERIFY(f()->Label51->heightForWidth(f()->Label51->width()) <=
                f()->Label51->height()); // none cut off
        if (link == "Label54") {         // four paragraphs, one empty line between them
            const QStringList paragraphs = f()->Label51->caption().split("\r\n\r\n");
            QCOMPARE(paragraphs.size(), 4);
            QVERIFY(!paragraphs.join(' ').contains('\n') && !paragraphs.contains(""));
        }
    }

    void underline()
    {
        for (const vb::Label *link : f()->helpLinks())
            QVERIFY(link->foreColor() == vb::green && link->font().bold());
        moveOver(f()->Label54);
        moveOver(f()->Label53); // the introduction and the title change nothing
        moveOver(f()->Label52);
        moveOver(f()->Label58);
        QCOMPARE(underlines(), "_--_-");
        moveOver(f()->Frame6, QPoint(500, 250)); // the bare background
        QCOMPARE(underlines(), "-----");
        moveOver(f()->Label57); // a clicked link stays underlined when "Назад" brings the contents back
        QTest::mouseClick(f()->Label57, Qt::LeftButton);
        QTest::mouseClick(f()->Command5, Qt::LeftButton);
        QCOMPARE(underlines(), "----_");
        w->helpLink_Click(f()->Label55);
        w->helpAction(); // the menu brings the contents back from a topic
        QVERIFY(!f()->Frame6->isHidden() && f()->Frame5->isHidden());
        w->resetWindow(); // and a reset empties the topic page
        QCOMPARE(f()->Label50->caption() + f()->Label51->caption(), "");
    }

    void creditsCopyTheAddress()
    {
        const QString caption = f()->Label4->caption();
        QVERIFY(caption.contains("  https://quelbrin.example  "));
        QGuiApplication::clipboard()->setText("something else");
        w->settingsAction();
        BoxAnswer box("ОК");
        QTest::mouseClick(f()->Label4, Qt::LeftButton);
        QCOMPARE(box.title + box.text, "Darizi2Адрес в интернете скопирован в буфер обмена");
        QCOMPARE(box.buttons, QStringList{"ОК"});
        QVERIFY(!box.icon);
        QCOMPARE(QGuiApplication::clipboard()->text(), "https://quelbrin.example");
        QVERIFY(!f()->Frame2->isHidden());
        QCOMPARE(f()->Label4->caption(), caption);
    }
};

QTEST_MAIN(tst_help)
#include "tst_help.moc"
