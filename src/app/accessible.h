// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How the window reads to assistive technology (a screen reader over AT-SPI, for one): the window
// is a frame that holds only the controls in use, and the labels that act on a click read as menu
// items and links with a press action. Installed once, before the window is made.
void installAccessibility();
