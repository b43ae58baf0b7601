// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls.h"

#include "keys.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>
#include <utility>

namespace vb
{

QColor color(quint32 bbggrr)
{
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

quint32 fromColor(const QColor &c)
{
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

const QPalette &palette()
{
    // Built once: every label asks for its text colour as it is made, at each reset.
    static const QPalette fixed = [] {
        struct Role {
            QPalette::ColorRole role;
            QRgb normal, disabled;
        };
        static const Role roles[] = {
            {QPalette::WindowText, 0xff000000, 0xffbebebe},
            {QPalette::Button, 0xffefefef, 0xffefefef},
            {QPalette::Light, 0xffffffff, 0xffffffff},
            {QPalette::Midlight, 0xffcacaca, 0xffcacaca},
            {QPalette::Dark, 0xff9f9f9f, 0xffbebebe},
            {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8},
            {QPalette::Text, 0xff000000, 0xffbebebe},
            {QPalette::BrightText, 0xffffffff, 0xffffffff},
            {QPalette::ButtonText, 0xff000000, 0xffbebebe},
            {QPalette::Base, 0xffffffff, 0xffefefef},
            {QPalette::Window, 0xffefefef, 0xffefefef},
            {QPalette::Shadow, 0xff767676, 0xffb1b1b1},
            {QPalette::Highlight, 0xff308cc6, 0xff919191},
            {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
            {QPalette::Link, 0xff0000ff, 0xff0000ff},
            {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff},
            {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7},
            {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc},
            {QPalette::ToolTipText, 0xff000000, 0xff000000},
            {QPalette::PlaceholderText, 0x80000000, 0x80000000},
        };
        QPalette p;
        for (const Role &r : roles) {
            for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
                p.setColor(group, r.role, QColor::fromRgba(r.normal));
            p.setColor(QPalette::Disabled, r.role, QColor::fromRgba(r.disabled));
        }
        return p;
    }();
    return fixed;
}

quint32 windowColor()
{
    return fromColor(palette().color(QPalette::Window));
}

quint32 windowTextColor()
{
    return fromColor(palette().color(QPalette::WindowText));
}

QFont font(const QString &family, double points, bool bold)
{
    QFont f(family);
    f.setPixelSize(qRound(points * 96 / 72));
    f.setBold(bold);
    return f;
}

void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(left / 15, top / 15, width / 15, height / 15);
}

namespace
{
// Controls own their mouse movement: it never climbs to the page behind them.
void ownMouseMoves(QWidget *w)
{
    w->setMouseTracking(true);
    w->setAttribute(Qt::WA_NoMousePropagation);
}

// The style's focus frame around rect. Fusion draws it only after a Tab; the callers decide when
// it shows, whatever moved the focus (a Tab, a shortcut, a field put right).
void drawFocusFrame(QWidget *w, QPainter &painter, const QRect &rect, const QColor &background)
{
    QStyleOptionFocusRect frame;
    frame.initFrom(w);
    frame.state |= QStyle::State_KeyboardFocusChange;
    frame.rect = rect;
    frame.backgroundColor = background;
    w->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, w);
}
} // namespace

Label::Label(QWidget *parent) : QLabel(parent), m_foreColor(windowTextColor())
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::NoFocus);
    ownMouseMoves(this);
}

void Label::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    QString shown = caption;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    setText(shown);
}

void Label::setBackColor(quint32 bbggrr)
{
    m_backColor = bbggrr;
    QPalette p = palette();
    p.setColor(QPalette::Window, color(bbggrr));
    setPalette(p);
}

void Label::setForeColor(quint32 bbggrr)
{
    m_foreColor = bbggrr;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color(bbggrr));
    setPalette(p);
}

void Label::setOpaque(bool opaque)
{
    setAutoFillBackground(opaque);
}

void Label::setUnderline(bool underline)
{
    QFont f = font();
    f.setUnderline(underline);
    setFont(f);
}

void Label::shrinkToFit(int minPixels)
{
    QFont f = font();
    while (f.pixelSize() > minPixels && heightForWidth(width()) > height()) {
        f.setPixelSize(f.pixelSize() - 1);
        setFont(f);
    }
}

void Label::setActing(QAccessible::Role role, const QKeySequence &shortcut)
{
    m_actingRole = role;
    m_shortcut = shortcut;
    // Writing the caption may have made the plain label's interface already: make it anew.
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(this))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    // Tab only: a click acts without taking the focus, as it always has.
    setFocusPolicy(Qt::TabFocus);
}

void Label::setKeyboardInUse(bool inUse)
{
    if (std::exchange(s_keyboardInUse, inUse) == inUse)
        return;
    if (auto *focused = qobject_cast<Label *>(QApplication::focusWidget()))
        focused->update();
}

void Label::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (m_actingRole != QAccessible::NoRole &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        if (!event->isAutoRepeat())
            emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void Label::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus() || !s_keyboardInUse)
        return;
    QPainter painter(this);
    drawFocusFrame(this, painter, rect(), palette().color(QPalette::Window));
}

void Label::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

// The second press of a double-click is no click: Qt's default would take it for a press.
void Label::mouseDoubleClickEvent(QMouseEvent *) {}

void Label::mouseMoveEvent(QMouseEvent *)
{
    emit mouseMoved();
}

TextBox::TextBox(QWidget *parent) : QLineEdit(parent) {}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(keys::keyCode(*event));
    const QString text = event->text();
    const bool printable = !text.isEmpty() && text.at(0).isPrint();
    if (printable && event->modifiers().testFlag(Qt::AltModifier)) {
        event->ignore();
        return;
    }
    if (m_upperCase && printable) {
        QKeyEvent upper(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                        event->nativeVirtualKey(), event->nativeModifiers(), QLocale().toUpper(text),
                        event->isAutoRepeat(), ushort(event->count()));
        QLineEdit::keyPressEvent(&upper);
        event->setAccepted(upper.isAccepted());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TextBox::inputMethodEvent(QInputMethodEvent *event)
{
    if (!m_upperCase || event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent upper(event->preeditString(), event->attributes());
    upper.setCommitString(QLocale().toUpper(event->commitString()), event->replacementStart(),
                          event->replacementLength());
    QLineEdit::inputMethodEvent(&upper);
}

Button::Button(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    // Enter presses the focused button, as on the desktop the program comes from.
    setAutoDefault(true);
    QPalette p = palette();
    p.setColor(QPalette::Button, color(white));
    setPalette(p);
    ownMouseMoves(this);
}

void Button::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved();
    QPushButton::mouseMoveEvent(event);
}

Frame::Frame(quint32 backColor, QWidget *parent) : QWidget(parent)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color(backColor));
    setPalette(p);
    setAutoFillBackground(true);
    ownMouseMoves(this);
}

void Frame::mouseMoveEvent(QMouseEvent *)
{
    emit mouseMoved();
}

Line::Line(int x1, int y1, int x2, int y2, quint32 bbggrr, QWidget *parent) : QWidget(parent)
{
    setGeometry(x1 / 15, y1 / 15, std::max(1, (x2 - x1) / 15 + (x1 == x2 ? 1 : 0)),
                std::max(1, (y2 - y1) / 15 + (y1 == y2 ? 1 : 0)));
    QPalette p = palette();
    p.setColor(QPalette::Window, color(bbggrr));
    setPalette(p);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

FileList::FileList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this, &FileList::clicked);
    // A choice by keyboard selects the row.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!selectedItems().isEmpty())
            emit clicked();
    });
}

void FileList::setPath(const QString &dir)
{
    const QSignalBlocker quiet(this);
    clear();
    // Only regular files: QDir::System (pipes, sockets, devices) is left out.
    QStringList names =
        QDir(dir).entryList({QStringLiteral("*.txt*")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    // The chosen name is stored as one line of options.ini: a name with a line break or another
    // control character could not be stored, so it is not offered.
    names.removeIf([](const QString &name) {
        return std::any_of(name.begin(), name.end(),
                           [](QChar c) { return c.category() == QChar::Other_Control; });
    });
    addItems(names);
    hideRows(!isVisible());
}

void FileList::hideRows(bool hidden)
{
    for (int row = 0; row < count(); ++row)
        setRowHidden(row, hidden);
}

void FileList::showEvent(QShowEvent *event)
{
    hideRows(false);
    QListWidget::showEvent(event);
}

void FileList::hideEvent(QHideEvent *event)
{
    hideRows(true);
    QListWidget::hideEvent(event);
}

void FileList::focusInEvent(QFocusEvent *event)
{
    // Qt makes the first row current when the list takes the focus, and paints it so.
    QListWidget::focusInEvent(event);
    if (selectedItems().isEmpty())
        selectionModel()->clearCurrentIndex();
}

void FileList::paintEvent(QPaintEvent *event)
{
    QListWidget::paintEvent(event);
    // With no row current Qt draws no focus frame at all: draw the style's own on the first row.
    if (!hasFocus() || currentIndex().isValid())
        return;
    QPainter painter(viewport());
    drawFocusFrame(this, painter, count() > 0 ? visualItemRect(item(0)) : viewport()->rect(),
                   palette().color(QPalette::Base));
}

QModelIndex FileList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // With no row current yet, Qt moves every key to the first row; End goes to the last.
    if (!currentIndex().isValid() && action == MoveEnd && count() > 0)
        return indexFromItem(item(count() - 1));
    return QListWidget::moveCursor(action, modifiers);
}

QString FileList::fileName() const
{
    const QList<QListWidgetItem *> chosen = selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->text();
}

} // namespace vb
