// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmvaruva.h"

#include "accessible.h"
#include "common/paths.h"
#include "common/version.h"
#include "keys.h"

#include <QApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTranslator>
#include <QWindow>

#include <cstdlib>
#include <utility>

#ifdef ZORVIK_XCB
#include <xcb/xcb.h>
#endif

namespace
{
// Qt's own texts, such as the text boxes' context menu, are Russian like the rest of the window,
// whatever the system's language.
void installQtTranslation()
{
    static bool installed = false;
    if (std::exchange(installed, true))
        return;
    auto *translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

// The window has one size, so the window manager is offered neither maximise nor resize. The
// window flags drop maximise everywhere; on X11 Qt's Motif hints offer resize whatever the flags
// say, so they are written anew: move, minimise and close, with a title, a menu and a border.
void writeMotifHints([[maybe_unused]] QWidget *window)
{
#if defined(ZORVIK_XCB) && QT_CONFIG(xcb)
    // Other platforms, offscreen among them, may answer for X11 without an X connection.
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection =
        x11 && QGuiApplication::platformName() == u"xcb" ? x11->connection() : nullptr;
    if (!connection)
        return;
    const QByteArray name = QByteArrayLiteral("_MOTIF_WM_HINTS");
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, false, quint16(name.size()), name.constData()), nullptr);
    if (!atom)
        return;
    enum : quint32 { functions = 1, decorations = 2 };
    enum : quint32 { move = 4, minimise = 8, close = 32 };
    enum : quint32 { border = 2, title = 8, menu = 16, minimiseButton = 32 };
    const quint32 hints[5] = {functions | decorations, move | minimise | close,
                              border | title | menu | minimiseButton, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), atom->atom,
                        atom->atom, 32, 5, hints);
    xcb_flush(connection);
    std::free(atom);
#endif
}
} // namespace

frmvaruva::frmvaruva(QWidget *parent) : QWidget(parent)
{
    installQtTranslation();
    installAccessibility();
    setObjectName(QStringLiteral("frmvaruva"));
    setWindowTitle(QStringLiteral("Зорвик v." ZORVIK_VERSION));
    setFixedSize(537, 373);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildControls();
    // The key preview filters the window's own QWindow, which is made here so that it exists.
    create();
    windowHandle()->installEventFilter(this);
    // Until the user or a page picks a control, the window itself holds the focus: Qt would give it
    // to the first menu item, and Enter would start a training.
    setFocus();
}

void frmvaruva::Form_Load()
{
    // Each picture box reads the logo itself. A missing or broken picture leaves the box empty, and
    // so does anything but a regular file.
    for (vb::Label *image : {f->Image1, f->Image2}) {
        QFile logo(paths::logoFile());
        if (paths::openRegularFile(logo) != paths::Opened::Yes)
            continue;
        QImageReader reader(&logo);
        reader.setDecideFormatFromContent(true);
        image->setPixmap(QPixmap::fromImage(reader.read()));
    }
    f->File1->setPath(paths::mfilesDir());
    nastr();
}

void frmvaruva::resetWindow()
{
    // The old controls may be running the handler that called us, and a message box that handler
    // opens runs an event loop of its own, where deleteLater() would already delete them. So they
    // are hidden and silenced now and deleted at the next reset, when none of them can still be
    // inside a handler.
    delete m_retired;
    m_retired = f;
    m_retired->Timer1->stop();
    m_retired->Timer2->stop();
    m_retired->hide();
    m_retired->blockSignals(true);
    for (QObject *child : m_retired->findChildren<QObject *>())
        child->blockSignals(true);

    buildControls();
    f->show();
    // The window shows itself anew and so becomes active again.
    Form_Activate();
}

void frmvaruva::setTickInterval(std::chrono::milliseconds interval)
{
    m_tickInterval = interval;
    f->Timer1->setInterval(interval);
    f->Timer2->setInterval(interval);
}

void frmvaruva::buildControls()
{
    f = new Form(this);
    m_training = Training();
    setTickInterval(m_tickInterval);
    connectHandlers();
    Form_Load();
}

void frmvaruva::connectHandlers()
{
    // The design state is not a change: connect only after every control holds its design value.
    for (int i = 0; i < 4; ++i) {
        connect(f->Label2[i], &vb::Label::clicked, this, [this, i] { Label2_Click(i); });
        connect(f->Label2[i], &vb::Label::mouseMoved, this, [this, i] { Label2_MouseMove(i); });
    }
    connect(f->Label3, &vb::Label::mouseMoved, this, &frmvaruva::Label3_MouseMove);
    connect(f->Label4, &vb::Label::clicked, this, &frmvaruva::Label4_Click);

    for (vb::TextBox *box : {f->Text1, f->Text2, f->Text3})
        connect(box, &QLineEdit::textChanged, this, &frmvaruva::Text123_Change);
    connect(f->File1, &vb::FileList::clicked, this, &frmvaruva::File1_Click);
    connect(f->Command1, &QPushButton::clicked, this, &frmvaruva::Command1_Click);
    connect(f->Command2, &QPushButton::clicked, this, &frmvaruva::Command2_Click);

    connect(f->Timer1, &QTimer::timeout, this, &frmvaruva::Timer1_Timer);
    connect(f->Timer2, &QTimer::timeout, this, &frmvaruva::Timer2_Timer);
    connect(f->Command3, &QPushButton::clicked, this, &frmvaruva::Command3_Click);
    connect(f->Command3, &vb::Button::mouseMoved, this, &frmvaruva::Command3_MouseMove);
    connect(f->Text4, &QLineEdit::textChanged, this, &frmvaruva::Text4_Change);
    connect(f->Text4, &vb::TextBox::keyDown, this, &frmvaruva::Text4_KeyDown);

    connect(f->Command4, &QPushButton::clicked, this, &frmvaruva::Command4_Click);

    for (vb::Label *link : f->helpLinks()) {
        connect(link, &vb::Label::clicked, this, [this, link] { helpLink_Click(link); });
        connect(link, &vb::Label::mouseMoved, this, [this, link] { helpLink_MouseMove(link); });
    }
    connect(f->Command5, &QPushButton::clicked, this, &frmvaruva::Command5_Click);
    connect(f->Frame6, &vb::Frame::mouseMoved, this, &frmvaruva::Frame6_MouseMove);
}

QMessageBox::StandardButton frmvaruva::message(const QString &text, QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Darizi2"), text, buttons, this);
    const std::pair<QMessageBox::StandardButton, QString> captions[] = {
        {QMessageBox::Ok, QStringLiteral("ОК")},
        {QMessageBox::Cancel, QStringLiteral("Отмена")},
        {QMessageBox::Yes, QStringLiteral("Да")},
        {QMessageBox::No, QStringLiteral("Нет")},
    };
    for (const auto &[which, caption] : captions) {
        if (QAbstractButton *b = box.button(which))
            b->setText(caption);
    }
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    if (buttons.testFlag(QMessageBox::No))
        box.setEscapeButton(QMessageBox::No);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool frmvaruva::trainingRunning() const
{
    return m_training.running();
}

bool frmvaruva::eventFilter(QObject *, QEvent *event)
{
    // Key preview: the window sees each key of its own before the focused control does. A key comes
    // from the platform to the window's QWindow, which hands it to the focused control; from there
    // it climbs through the parents. Filtering the QWindow sees each key once, whatever its handler
    // does to the focus (a message box leaves no focus widget until the window is active again),
    // and never a key of a message box, which has a QWindow of its own.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)
        vb::Label::setKeyboardInUse(event->type() == QEvent::KeyPress);
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (event->type() == QEvent::KeyRelease) {
        if (!key->isAutoRepeat())
            Form_KeyUp(keys::keyCode(*key));
        return false;
    }
    const Form *before = f;
    Form_KeyDown(keys::keyCode(*key));
    // After Alt+N the control that would get the key belongs to the replaced set, and after Alt+Q
    // the window is closed: the key has nowhere to go.
    return f != before || !isVisible();
}

void frmvaruva::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
    QWidget::changeEvent(event);
}

void frmvaruva::showEvent(QShowEvent *event)
{
    // Before the window is mapped, so that the window manager reads the hints as it takes it on.
    writeMotifHints(this);
    QWidget::showEvent(event);
}

void frmvaruva::Form_Activate()
{
    m_altHeld = false;
}
