// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

class QKeyEvent;

// Key codes as the shortcuts know them (Alt 18, Enter 13, letters by their Latin capital: N 78,
// Q 81, H 72, P 80), recognised by the key's position so that they work in any keyboard layout.
namespace keys
{

constexpr int alt = 18;
constexpr int enter = 13;
constexpr int letterN = 78;
constexpr int letterQ = 81;
constexpr int letterH = 72;
constexpr int letterP = 80;

// The code of a key event, or 0 for a key the program does not know by position.
int keyCode(const QKeyEvent &event);
// The same for an event from the named platform (QGuiApplication::platformName()).
int keyCode(const QKeyEvent &event, QStringView platform);

} // namespace keys
