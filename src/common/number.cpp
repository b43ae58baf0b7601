// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "number.h"

#include <QByteArrayView>
#include <QLocale>

#include <cmath>
#include <limits>
#include <string>

namespace number
{

namespace
{

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// A whole number after "&H" or "&O"; digits beyond what a double holds exactly still add up.
double readRadix(const std::u16string &s, size_t pos, int radix)
{
    double value = 0;
    for (; pos < s.size(); ++pos) {
        const char16_t c = s[pos];
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (radix == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (radix == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
    }
    return value;
}

} // namespace

double read(QStringView text)
{
    std::u16string s;
    s.reserve(static_cast<size_t>(std::min<qsizetype>(text.size(), 1024)));
    for (QChar c : text) {
        if (!isBlank(c))
            s.push_back(c.unicode());
    }

    if (s.size() >= 2 && s[0] == u'&') {
        const char16_t kind = s[1];
        if (kind == u'H' || kind == u'h')
            return readRadix(s, 2, 16);
        if (kind == u'O' || kind == u'o')
            return readRadix(s, 2, 8);
        return 0;
    }

    // Gather the longest leading number as plain ASCII for QByteArrayView::toDouble, which never
    // looks at the locale. `magnitude` is the decimal exponent of the first significant digit, to
    // tell an overflow from an underflow.
    std::string ascii;
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    bool anyDigit = false;
    bool point = false;
    bool significant = false;
    long long magnitude = 0;
    for (; i < s.size(); ++i) {
        if (isAsciiDigit(s[i])) {
            ascii.push_back(static_cast<char>(s[i]));
            anyDigit = true;
            significant = significant || s[i] != u'0';
            if (!point && significant)
                ++magnitude;
            else if (point && !significant)
                --magnitude;
        } else if (s[i] == u'.' && !point) {
            ascii.push_back('.');
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponent.push_back(static_cast<char>(s[j++]));
        long long value = 0;
        for (; j < s.size() && isAsciiDigit(s[j]); ++j) {
            exponent.push_back(static_cast<char>(s[j]));
            value = std::min(value * 10 + (s[j] - u'0'), 1'000'000'000LL);
        }
        if (exponent.size() > 1 && isAsciiDigit(static_cast<char16_t>(exponent.back()))) {
            ascii += exponent;
            magnitude += exponent[1] == '-' ? -value : value;
        }
    }

    // The gathered text is always a well-formed number, so a failed conversion is one out of range.
    bool ok = false;
    double value = QByteArrayView(ascii).toDouble(&ok);
    if (!ok)
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

int wholeIn(QStringView text, int low, int high)
{
    const double value = std::trunc(read(text));
    if (!(value >= low)) // also catches NaN, which read() never returns
        return low;
    if (value > high)
        return high;
    return static_cast<int>(value);
}

QString text(double value, int digits)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', digits);
}

} // namespace number
