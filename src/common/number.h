// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

// Numbers as the program reads them from captions, text boxes and options.ini, and writes them back.
namespace number
{

// Reads the leading number of a text the lenient way: blanks (space, tab, line feed) are skipped
// anywhere, then an optional sign, digits with at most one "." and an optional exponent (E or D);
// "&H" and "&O" start a hexadecimal or octal whole number. A text without a leading number is 0.
// An exponent too large for a double gives an infinity of the number's sign.
double read(QStringView text);

// The whole number read from a text, truncated towards zero and clamped into [low, high].
int wholeIn(QStringView text, int low, int high);

// The general decimal text of a value: at most 15 (or the given number of) significant digits, the
// decimal separator of the default locale, no group separators, no trailing zeros.
QString text(double value, int digits = 15);

} // namespace number
