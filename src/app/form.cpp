// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form.h"

#include "help/helptexts.h"

#include <QFontMetrics>

#include <optional>

using vb::Label;
using vb::Line;

namespace
{

const QString arial = QStringLiteral("Arial");
const QString times = QStringLiteral("Times New Roman");

struct Look {
    quint32 fore;
    QFont font;
};

Label *label(QWidget *parent, const char *name, int left, int top, int width, int height,
             const QString &caption, const std::optional<Look> &look = std::nullopt, bool shown = true)
{
    auto *l = new Label(parent);
    l->setObjectName(QString::fromLatin1(name));
    vb::place(l, left, top, width, height);
    if (look) {
        l->setFont(look->font);
        l->setForeColor(look->fore);
    }
    l->setCaption(caption);
    l->setVisible(shown);
    return l;
}

Label *picture(QWidget *parent, const char *name)
{
    Label *image = label(parent, name, 7140, 105, 855, 855, QString());
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return image;
}

vb::Button *button(QWidget *parent, const char *name, int left, int top, int width, int height,
                   const QString &caption)
{
    auto *b = new vb::Button(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    vb::place(b, left, top, width, height);
    return b;
}

vb::TextBox *textBox(QWidget *parent, const char *name, int left, int top, int width, int height,
                     const QString &text)
{
    auto *t = new vb::TextBox(parent);
    t->setObjectName(QString::fromLatin1(name));
    vb::place(t, left, top, width, height);
    t->setText(text);
    return t;
}

vb::Frame *page(QWidget *parent, const char *name, quint32 backColor, bool shown)
{
    auto *f = new vb::Frame(backColor, parent);
    f->setObjectName(QString::fromLatin1(name));
    vb::place(f, 0, 1050, 8100, 4215);
    f->setVisible(shown);
    return f;
}

Line *line(QWidget *parent, const QString &name, int x1, int y1, int x2, int y2, quint32 color)
{
    auto *l = new Line(x1, y1, x2, y2, color, parent);
    l->setObjectName(name);
    return l;
}

Look heading()
{
    return {vb::windowTextColor(), vb::font(arial, 14.25)};
}

Look warning()
{
    return {vb::red, vb::font(arial, 14.25)};
}

Look slogan()
{
    return {vb::lightGrey, vb::font(arial, 36, true)};
}

Look cell(quint32 color)
{
    return {color, vb::font(times, 12)};
}

const QString crlf = QStringLiteral("\r\n");

QString introduction()
{
    return QStringLiteral(
        "Предлагаемая программа предназначена для развития зрительной памяти человека. За "
        "заданный промежуток времени Вам нужно запомнить определённое количество слов. После "
        "чего вы должны воспроизвести все эти слова.");
}

QString newFeatures()
{
    const QString items[] = {
        QStringLiteral("Возможность выбора количества слов (%1-%2 слов)")
            .arg(limits::wordCount.low)
            .arg(limits::wordCount.high),
        QStringLiteral("Настройка времени (%1 - %2 с. на запоминание; %3-%4 с. на воспроизведение)")
            .arg(limits::memoriseSeconds.low)
            .arg(limits::memoriseSeconds.high)
            .arg(limits::recallSeconds.low)
            .arg(limits::recallSeconds.high),
        QStringLiteral("Шкала результатов с учетом времени и количества слов"),
        QStringLiteral("Возможность использования разных баз слов"),
        QStringLiteral("Возможность использования разных баз слов"),
    };
    QString text = QStringLiteral("Горячие клавиши для быстрой работы с программой") + QString(48, u' ');
    for (const QString &item : items)
        text += item + crlf + crlf;
    text.chop(4);
    return text;
}

// A text taller than its label ends at the last line that fits whole, not through the next one.
void endAtWholeLine(Label *l)
{
    const QFontMetrics metrics(l->font());
    const auto height = [&](const QString &text) {
        return metrics.boundingRect(l->rect(), Qt::TextWordWrap, text).height();
    };
    const int line = height(QStringLiteral("x\nx")) - height(QStringLiteral("x"));
    l->resize(l->width(), l->height() / line * line);
}

QString sloganText()
{
    return QStringLiteral("Запомни!");
}

} // namespace

Form::Form(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("controls"));
    setGeometry(0, 0, 537, 373);
    setAutoFillBackground(true);
    QPalette p = vb::palette();
    p.setColor(QPalette::Window, vb::color(vb::white));
    setPalette(p);
    setFont(vb::font(arial, 8.25));

    // Qt stacks siblings in creation order, later on top: build from the bottom up.
    buildTopLevel();
    Frame5 = page(this, "Frame5", vb::white, false);
    Frame4 = page(this, "Frame4", vb::white, false);
    Frame6 = page(this, "Frame6", vb::white, false);
    Frame1 = page(this, "Frame1", vb::white, true);
    Frame2 = page(this, "Frame2", vb::white, false);
    Frame3 = page(this, "Frame3", vb::windowColor(), false);
    buildStartPage();
    buildSettingsPage();
    buildTrainingPage();
    buildResultsPage();
    buildHelpPages();
    setTabOrder();
}

void Form::buildTopLevel()
{
    const Look menu{vb::lightGrey, vb::font(arial, 8.25, true)};
    Label3 = label(this, "Label3", 0, 0, 8100, 1065, QString());
    Label3->setBackColor(vb::grey);
    Label3->setOpaque(true);
    const QString items[] = {QStringLiteral("Старт"), QStringLiteral("Настройки"), QStringLiteral("Справка"),
                             QStringLiteral("Выход")};
    const Qt::Key shortcuts[] = {Qt::Key_N, Qt::Key_P, Qt::Key_H, Qt::Key_Q};
    for (int i = 3; i >= 0; --i) {
        Label *item = label(this, "Label2", 1155 * i, 0, 1170, 330, items[i], menu);
        item->setBackColor(vb::grey);
        item->setOpaque(true);
        item->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        item->setActing(QAccessible::MenuItem, QKeySequence(Qt::ALT | shortcuts[i]));
        Label2[i] = item;
    }
    for (int i = 3; i >= 0; --i)
        Line1to4[i] = line(this, QStringLiteral("Line%1").arg(i + 1), 1155 * (i + 1), 0, 1155 * (i + 1), 315,
                           vb::white);
    Label1 = label(this, "Label1", 105, 420, 5160, 645, QStringLiteral("Зорвик 2"),
                   Look{vb::silver, vb::font(arial, 26.25)});
    Label4 = label(this, "Label4", 0, 5265, 8100, 330, helptexts::creditsLine(), menu);
    Label4->setBackColor(vb::grey);
    Label4->setOpaque(true);
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->setActing(QAccessible::Link);
    Line5[1] = line(this, QStringLiteral("Line5"), 3640, 5295, 3640, 5495, vb::white);
    Line5[0] = line(this, QStringLiteral("Line5"), 1620, 5295, 1620, 5495, vb::white);
}

void Form::buildStartPage()
{
    QWidget *f = Frame1;
    Image1 = picture(f, "Image1");
    Image1->setAccessibleName(QStringLiteral("Логотип программы"));
    Label5 = label(f, "Label5", 210, 105, 2535, 645, QStringLiteral("Знакомство с программой"), heading());
    Label6 = label(f, "Label6", 210, 840, 2430, 1695, introduction());
    Label7 = label(f, "Label7", 2730, 735, 2745, 435, QStringLiteral("Новое в этой версии"), heading());
    Label8 = label(f, "Label8", 2835, 1155, 2430, 2430, newFeatures());
    endAtWholeLine(Label8);
    Label9 = label(f, "Label9", 5775, 1995, 2115, 435, QStringLiteral("Начало работы"), heading());
    Label10 =
        label(f, "Label10", 5565, 2625, 2430, 1590,
              QStringLiteral("Для начала работы с программой выберите пункт меню - Старт") + crlf + crlf +
                  QStringLiteral("Для выполнения начальных настроек выберите пункт меню - Настройки") + crlf);
    Label11 = label(f, "Label11", 210, 3255, 4215, 750, sloganText(), slogan());
}

void Form::buildSettingsPage()
{
    QWidget *f = Frame2;
    const QString wrong = QStringLiteral("Неверное значение");
    Image2 = picture(f, "Image2");
    Image2->setAccessibleName(QStringLiteral("Логотип программы"));
    Label18 = label(f, "Label18", 210, 105, 3270, 435, QStringLiteral("Настройки программы"), heading());
    Label49 = label(f, "Label49", 315, 630, 2535, 225, QStringLiteral("Доступные файлы баз слов"));
    File1 = new vb::FileList(f);
    File1->setObjectName(QStringLiteral("File1"));
    vb::place(File1, 3360, 315, 1800, 810);
    Label16 = label(f, "Label16", 315, 1260, 2535, 225, QStringLiteral("Текущий файл базы слов"));
    Label22 = label(f, "Label22", 3360, 1260, 1800, 330, QString(), Look{vb::grey, font()});
    Label22->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label17 = label(f, "Label17", 5250, 1260, 2640, 330, QStringLiteral("Выберите файл"), warning(), false);
    Label13 = label(
        f, "Label13", 315, 1785, 1905, 225,
        QStringLiteral("Количество слов (%1-%2)").arg(limits::wordCount.low).arg(limits::wordCount.high));
    Text1 = textBox(f, "Text1", 3360, 1785, 1800, 285, QStringLiteral("10"));
    Label19 = label(f, "Label19", 5250, 1785, 2640, 330, wrong, warning(), false);
    Label14 = label(f, "Label14", 315, 2310, 2430, 225,
                    QStringLiteral("Время запоминания (%1 - %2 с.)")
                        .arg(limits::memoriseSeconds.low)
                        .arg(limits::memoriseSeconds.high));
    Text2 = textBox(f, "Text2", 3360, 2310, 1800, 285, QStringLiteral("10"));
    Label20 = label(f, "Label20", 5250, 2310, 2640, 330, wrong, warning(), false);
    Label15 = label(f, "Label15", 315, 2835, 2955, 225,
                    QStringLiteral("Время воспроизведения (%1 - %2 с.)")
                        .arg(limits::recallSeconds.low)
                        .arg(limits::recallSeconds.high));
    Text3 = textBox(f, "Text3", 3360, 2835, 1800, 285, QStringLiteral("60"));
    Label21 = label(f, "Label21", 5250, 2835, 2640, 330, wrong, warning(), false);
    Command1 = button(f, "Command1", 4305, 3780, 1800, 330, QStringLiteral("Применить"));
    Command2 = button(f, "Command2", 6090, 3780, 1800, 330, QStringLiteral("Отменить"));
    Label12 = label(f, "Label12", 210, 3255, 4215, 750, sloganText(), slogan());
    // Each caption names its field for assistive technology.
    Label49->setBuddy(File1);
    File1->setAccessibleName(Label49->text()); // a list does not take its name from its caption
    Label13->setBuddy(Text1);
    Label14->setBuddy(Text2);
    Label15->setBuddy(Text3);
    // The slogan lies under the buttons it overlaps.
    Label12->lower();
}

void Form::buildTrainingPage()
{
    QWidget *f = Frame3;
    Label26 = label(f, "Label26", 105, 105, 2220, 1275, QString(),
                    Look{vb::windowTextColor(), vb::font(arial, 15.75)});
    for (int k = 0; k < 16; ++k) {
        const int y = 315 + 210 * k;
        Line6to21[k] = line(f, QStringLiteral("Line%1").arg(6 + k), 2415, y, 8085, y, vb::lightGrey);
    }
    Line22 = line(f, QStringLiteral("Line22"), 4200, 105, 4200, 3675, vb::lightGrey);
    Line23 = line(f, QStringLiteral("Line23"), 5985, 105, 5985, 3675, vb::lightGrey);
    for (int i = 0; i < int(Label25.size()); ++i) {
        const int column = i / 17;
        const int row = i % 17;
        Label *slot =
            label(f, "Label25", 2520 + 1785 * column, 105 + 210 * row, 1695, 225, QStringLiteral("Label25"));
        Label25[i] = slot;
    }
    const Look countdown{vb::lightGrey, vb::font(arial, 72)};
    Label23 = label(f, "Label23", 105, 2520, 2325, 1590, QStringLiteral("Label23"), countdown);
    Label24 = label(f, "Label24", 90, 2520, 2325, 1380, QStringLiteral("Label24"), countdown, false);
    const Look progress{vb::grey, vb::font(arial, 24)};
    Label27 = label(f, "Label27", 210, 1890, 645, 645, QStringLiteral("0"), progress, false);
    Label29 = label(f, "Label29", 840, 1890, 645, 645, QStringLiteral("из"), progress, false);
    Label28 = label(f, "Label28", 1680, 1890, 645, 645, QStringLiteral("0"), progress, false);
    Text4 = textBox(f, "Text4", 3045, 3700, 4005, 480, QString());
    Text4->setFont(vb::font(arial, 15.75));
    Text4->setAlignment(Qt::AlignCenter);
    Text4->setUpperCaseTyping(true);
    Text4->setAccessibleName(QStringLiteral("Вспомненное слово"));
    Text4->hide();
    Command3 = button(f, "Command3", 7140, 3700, 750, 435, QStringLiteral("СТОП"));
    for (QTimer **timer : {&Timer1, &Timer2}) {
        *timer = new QTimer(this);
        (*timer)->setTimerType(Qt::PreciseTimer);
    }
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2->setObjectName(QStringLiteral("Timer2"));
}

void Form::buildResultsPage()
{
    QWidget *f = Frame4;
    const Look header{vb::silver, vb::font(arial, 8.25, true)};
    Label30 = label(f, "Label30", 210, 105, 2010, 330, QStringLiteral("Результаты"),
                    Look{vb::grey, vb::font(arial, 18)});
    // The title's font is taller than its box: the box grows downwards so that no tail is cut.
    Label30->resize(Label30->width(), std::max(Label30->height(), Label30->heightForWidth(Label30->width())));
    Command4 = button(f, "Command4", 6300, 105, 1590, 330, QStringLiteral("Показать слова"));
    Command4->setToolTip(QStringLiteral("Вернуться к списку слов"));
    Label31 = label(f, "Label31", 735, 735, 1065, 330, QStringLiteral("Параметр"), header);
    Label33 =
        label(f, "Label33", 1995, 630, 1590, 435, QStringLiteral("Максимальный возможный бал, %"), header);
    Label34 = label(f, "Label34", 3885, 735, 960, 330, QStringLiteral("Ваш бал , %"), header);
    Label34->shrinkToFit(9);
    Label35 = label(f, "Label35", 420, 1155, 1380, 645, QStringLiteral("Количество слов"), cell(vb::silver));
    Label36 =
        label(f, "Label36", 420, 1890, 1380, 645, QStringLiteral("Время запоминания"), cell(vb::silver));
    Label37 = label(f, "Label37", 420, 2625, 1380, 645, QStringLiteral("Время воспроизв."), cell(vb::silver));
    Label38 =
        label(f, "Label38", 420, 3360, 1380, 540, QStringLiteral("Сумма слов в базе"), cell(vb::silver));
    Label39 = label(f, "Label39", 2625, 1260, 330, 330, QStringLiteral("50"), cell(vb::silver));
    Label40 = label(f, "Label40", 2625, 2100, 330, 330, QStringLiteral("40"), cell(vb::silver));
    Label41 = label(f, "Label41", 2625, 2835, 330, 330, QStringLiteral("8"), cell(vb::silver));
    Label42 = label(f, "Label42", 2625, 3465, 330, 330, QStringLiteral("2"), cell(vb::silver));
    Label32 = label(f, "Label32", 3990, 1260, 750, 330, QStringLiteral("0"), cell(vb::red));
    Label43 = label(f, "Label43", 3990, 2100, 750, 330, QStringLiteral("0"), cell(vb::red));
    Label44 = label(f, "Label44", 3990, 2835, 645, 330, QStringLiteral("0"), cell(vb::red));
    Label45 = label(f, "Label45", 3990, 3465, 645, 330, QStringLiteral("0"), cell(vb::red));
    Label46 = label(f, "Label46", 5145, 1050, 2745, 1065, QStringLiteral("ИТОГ"),
                    Look{vb::silver, vb::font(arial, 48, true)});
    Label47 =
        label(f, "Label47", 5040, 2415, 2115, 1170, QStringLiteral("0"), Look{vb::red, vb::font(times, 48)});
    Label48 =
        label(f, "Label48", 7140, 2415, 855, 960, QStringLiteral("%"), Look{vb::red, vb::font(times, 48)});
    const int xs[] = {315, 1890, 3675, 4935};
    for (int i = 0; i < 4; ++i)
        Line24[i] = line(f, QStringLiteral("Line24"), xs[i], 735, xs[i], 3780, vb::lightGrey);
    Line24[5] = line(f, QStringLiteral("Line24"), 315, 1050, 4935, 1050, vb::lightGrey);
}

void Form::buildHelpPages()
{
    Label50 = label(Frame5, "Label50", 315, 105, 6210, 645, QString(), heading());
    Label51 = label(Frame5, "Label51", 315, 840, 6000, 3375, QString());
    Command5 = button(Frame5, "Command5", 6720, 3780, 1170, 330, QStringLiteral("Назад"));

    QWidget *f = Frame6;
    Label52 = label(f, "Label52", 315, 210, 2010, 435, QStringLiteral("Справка"),
                    Look{vb::grey, vb::font(arial, 18)});
    Label53 = label(
        f, "Label53", 210, 735, 5790, 1485,
        QStringLiteral("   ") + introduction() + QStringLiteral("\r\n\n    ") +
            QStringLiteral("Более подробно о работе с программой читайте в следующих разделах справки") +
            crlf);
    const Look link{vb::green, vb::font(arial, 8.25, true)};
    Label54 = label(f, "Label54", 630, 2415, 2010, 225, QStringLiteral("Настройки программы"), link);
    Label55 = label(f, "Label55", 630, 2730, 2010, 225, QStringLiteral("Работа с программой"), link);
    Label56 = label(f, "Label56", 630, 3015, 2010, 225, QStringLiteral("Результаты"), link);
    Label58 = label(f, "Label58", 630, 3330, 2040, 240, QStringLiteral("Горячие клавиши"), link);
    Label57 = label(f, "Label57", 5040, 2745, 2430, 225, QStringLiteral("Новые программы Quelbrin"), link);
    for (Label *l : helpLinks()) {
        l->setCursor(Qt::PointingHandCursor);
        l->setActing(QAccessible::Link);
    }
}

void Form::setTabOrder()
{
    QWidget *order[] = {Label2[0], Label2[1], Label2[2], Label2[3], Text1,    Text2,    Text3,
                        File1,     Command1,  Command2,  Text4,     Command3, Command4, Command5,
                        Label54,   Label55,   Label56,   Label58,   Label57,  Label4};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}
