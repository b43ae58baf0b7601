// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "keys.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace keys
{

namespace
{

// X keycodes (xcb and Wayland alike) are evdev codes plus 8 and do not change with the layout.
int fromXKeycode(quint32 code)
{
    switch (code) {
    case 64:  // Alt_L
    case 108: // Alt_R
        return alt;
    case 36:  // Return
    case 104: // KP_Enter
        return enter;
    case 57:
        return letterN;
    case 24:
        return letterQ;
    case 43:
        return letterH;
    case 33:
        return letterP;
    default:
        return 0;
    }
}

// Windows virtual keys already are the codes wanted.
int fromVirtualKey(quint32 vk)
{
    switch (vk) {
    case 0x12: // VK_MENU
    case 0xA4: // VK_LMENU
    case 0xA5: // VK_RMENU
        return alt;
    case 0x0D:
        return enter;
    case letterN:
    case letterQ:
    case letterH:
    case letterP:
        return int(vk);
    default:
        return 0;
    }
}

// macOS virtual keys (kVK_ANSI_*) name the letter keys by their place on the keyboard.
int fromMacLetterKey(quint32 code)
{
    switch (code) {
    case 0x2D:
        return letterN;
    case 0x0C:
        return letterQ;
    case 0x04:
        return letterH;
    case 0x23:
        return letterP;
    default:
        return 0;
    }
}

// Events without a native code (synthesised ones, or an unknown platform) go by Qt's key, which
// follows the layout.
int fromQtKey(int key)
{
    switch (key) {
    case Qt::Key_Alt:
        return alt;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return enter;
    case Qt::Key_N:
        return letterN;
    case Qt::Key_Q:
        return letterQ;
    case Qt::Key_H:
        return letterH;
    case Qt::Key_P:
        return letterP;
    default:
        return 0;
    }
}

} // namespace

int keyCode(const QKeyEvent &event)
{
    static const QString platform = QGuiApplication::platformName();
    return keyCode(event, platform);
}

int keyCode(const QKeyEvent &event, QStringView platform)
{
#ifdef Q_OS_WIN
    Q_UNUSED(fromMacLetterKey);
    Q_UNUSED(platform);
    if (event.nativeVirtualKey() != 0)
        return fromVirtualKey(event.nativeVirtualKey());
#else
    Q_UNUSED(fromVirtualKey);
    const bool xKeycodes = platform == u"xcb" || platform.startsWith(u"wayland");
    if (xKeycodes && event.nativeScanCode() != 0)
        return fromXKeycode(event.nativeScanCode());
    // On macOS the letters go by their place; Option and Return are the same in every layout.
    if (platform == u"cocoa" && event.nativeVirtualKey() != 0) {
        const int byQtKey = fromQtKey(event.key());
        if (byQtKey == alt || byQtKey == enter)
            return byQtKey;
        return fromMacLetterKey(event.nativeVirtualKey());
    }
#endif
    return fromQtKey(event.key());
}

} // namespace keys
