// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessible>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

// The kinds of control the window is built from. Positions are given in twips (15 to a pixel at
// 96 dpi), colours as 0xBBGGRR; the helpers below turn them into Qt's units once.
namespace vb
{

constexpr quint32 white = 0xFFFFFF;
constexpr quint32 grey = 0x808080;
constexpr quint32 silver = 0xC0C0C0;
constexpr quint32 lightGrey = 0xE0E0E0;
constexpr quint32 red = 0x0000FF;
constexpr quint32 green = 0x008000;
constexpr quint32 darkBlue = 0xC00000;

QColor color(quint32 bbggrr);
quint32 fromColor(const QColor &color);
// The classic light scheme the window is drawn in, whatever the desktop's theme: under a dark
// theme the desktop's text is light while the design's pages stay white.
const QPalette &palette();
// Its window background and window text colours, the design's two "system" colours.
quint32 windowColor();
quint32 windowTextColor();

// A font of the given size in points, set in pixels so that the fixed layout does not depend on
// the screen's dpi.
QFont font(const QString &family, double points, bool bold = false);

void place(QWidget *w, int left, int top, int width, int height);

// A caption with its events. The caption is kept exactly as set (CR LF included); the label shows
// it with plain line breaks.
class Label : public QLabel
{
    Q_OBJECT
public:
    explicit Label(QWidget *parent);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 bbggrr);
    quint32 foreColor() const { return m_foreColor; }
    void setForeColor(quint32 bbggrr);
    // Transparent labels show what lies behind them; opaque ones fill their background.
    void setOpaque(bool opaque);
    void setUnderline(bool underline);
    bool underline() const { return font().underline(); }
    // Makes the font smaller, down to minPixels, until the wrapped caption fits the label's height.
    void shrinkToFit(int minPixels);

    // A label that acts on a click (a menu item, a link) acts for the keyboard and for assistive
    // technology too: Tab reaches it, Enter or Space presses it, and it reads as the given role
    // with a press action and the shortcut that does the same.
    void setActing(QAccessible::Role role, const QKeySequence &shortcut = {});
    QAccessible::Role actingRole() const { return m_actingRole; }
    QKeySequence shortcut() const { return m_shortcut; }
    // Whether the last input was a key rather than a mouse button: only then does a focused acting
    // label show its focus frame, so that it looks to a mouse user as it always has.
    static void setKeyboardInUse(bool inUse);

signals:
    void clicked();
    void mouseMoved();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QString m_caption;
    quint32 m_backColor = white;
    quint32 m_foreColor = 0;
    bool m_pressed = false;
    QAccessible::Role m_actingRole = QAccessible::NoRole;
    QKeySequence m_shortcut;
    static inline bool s_keyboardInUse = false;
};

// A single-line text box. Alt+letter never types the letter, as on the desktop the program comes
// from; a box can be told to upper-case what is typed.
class TextBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent);
    void setUpperCaseTyping(bool on) { m_upperCase = on; }

signals:
    // A key went down in the box, with the key code the shortcuts use; emitted before the box
    // handles the key.
    void keyDown(int keyCode);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    bool m_upperCase = false;
};

class Button : public QPushButton
{
    Q_OBJECT
public:
    Button(const QString &caption, QWidget *parent);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};

// A borderless page or band that can report mouse movement over its own background.
class Frame : public QWidget
{
    Q_OBJECT
public:
    Frame(quint32 backColor, QWidget *parent);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};

// A straight line of one pixel; it takes no mouse events, so the control below it gets them.
class Line : public QWidget
{
public:
    Line(int x1, int y1, int x2, int y2, quint32 bbggrr, QWidget *parent);
};

// The list of word-base files: names in a directory that contain ".txt" in any letter case,
// sorted without regard to case. Reports a selection by pointer or keyboard as clicked(). Like a
// classic list box, no row looks chosen until one is: the first Down chooses the first row, and
// until then the focus frame stands on the first row.
class FileList : public QListWidget
{
    Q_OBJECT
public:
    explicit FileList(QWidget *parent);
    void setPath(const QString &dir);
    QString fileName() const;

signals:
    void clicked();

protected:
    // Qt marks a row shown whenever it lies within the list's rectangle, even while the list is
    // hidden; so the rows are hidden with the list.
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void hideRows(bool hidden);
    void focusInEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
};

} // namespace vb
