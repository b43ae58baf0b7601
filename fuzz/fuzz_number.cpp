// number::read, wholeIn and text against the C library: the input is read as Latin-1 text and as
// UTF-16, and its first eight bytes also make a double for text().
#include "check.h"

#include "common/number.h"

#include <QLocale>
#include <QString>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace
{

// Equal, or within a relative distance; an infinity matches only a finite value at the very top.
bool near(double actual, double expected, double relative)
{
    if (actual == expected)
        return true;
    if (relative == 0 || std::isnan(actual) || std::isnan(expected))
        return false;
    if (std::signbit(actual) != std::signbit(expected) && actual != 0 && expected != 0)
        return false;
    const double a = std::fabs(actual);
    const double e = std::fabs(expected);
    if (std::isinf(a) || std::isinf(e))
        return std::fmin(a, e) >= DBL_MAX * (1 - relative);
    return std::fabs(a - e) <= relative * std::fmax(a, e);
}

// "&H" and "&O" numbers: regroup the digits as bits into a "0x" text, which strtod rounds
// correctly. read() adds digit by digit in doubles, so past 53 bits it may be off by a rounding
// per digit.
double expectedRadix(const std::u16string &s, int bitsPerDigit, double *relative)
{
    std::string bits;
    size_t digits = 0;
    for (size_t i = 2; i < s.size(); ++i) {
        const char16_t c = s[i];
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (bitsPerDigit == 4 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (bitsPerDigit == 4 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        if (d < 0 || d >= (1 << bitsPerDigit))
            break;
        ++digits;
        for (int b = bitsPerDigit - 1; b >= 0; --b)
            bits.push_back((d >> b) & 1 ? '1' : '0');
    }
    const size_t first = bits.find('1');
    if (first == std::string::npos) {
        *relative = 0;
        return 0;
    }
    bits.erase(0, first);
    *relative = bits.size() <= 53 ? 0 : static_cast<double>(digits) * 0x1p-52;
    bits.insert(0, (4 - bits.size() % 4) % 4, '0');
    std::string hex = "0x";
    for (size_t i = 0; i < bits.size(); i += 4)
        hex.push_back("0123456789abcdef"[std::stoi(bits.substr(i, 4), nullptr, 2)]);
    return std::strtod(hex.c_str(), nullptr);
}

// The documented reading, with strtod doing the conversion.
double expectedRead(QStringView text, double *relative)
{
    std::u16string s;
    for (QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n')
            s.push_back(c.unicode());
    }
    *relative = 0;
    if (s.size() >= 2 && s[0] == u'&') {
        if (s[1] == u'H' || s[1] == u'h')
            return expectedRadix(s, 4, relative);
        if (s[1] == u'O' || s[1] == u'o')
            return expectedRadix(s, 3, relative);
        return 0;
    }
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        negative = s[i++] == u'-';
    std::string ascii;
    bool digit = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= u'0' && s[i] <= u'9') {
            digit = true;
        } else if (s[i] == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        ascii.push_back(static_cast<char>(s[i]));
    }
    if (!digit)
        return 0;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponent.push_back(static_cast<char>(s[j++]));
        const size_t digitsFrom = exponent.size();
        for (; j < s.size() && s[j] >= u'0' && s[j] <= u'9'; ++j)
            exponent.push_back(static_cast<char>(s[j]));
        if (exponent.size() > digitsFrom)
            ascii += exponent;
    }
    const double value = std::strtod(ascii.c_str(), nullptr); // the C locale: "." is the point
    return negative ? -value : value;
}

void checkRead(QStringView text)
{
    const double value = number::read(text);
    FUZZ_CHECK(!std::isnan(value));
    double relative = 0;
    const double expected = expectedRead(text, &relative);
    if (!near(value, expected, relative)) {
        std::fprintf(stderr, "read gave %.17g, expected %.17g\n", value, expected);
        FUZZ_CHECK(near(value, expected, relative));
    }

    const int bounds[][2] = {
        {std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}, {0, 0}, {1, 999}, {-5, 5}};
    for (const auto &[low, high] : bounds) {
        const int whole = number::wholeIn(text, low, high);
        FUZZ_CHECK(whole >= low && whole <= high);
        const double t = std::trunc(value);
        if (t >= low && t <= high)
            FUZZ_CHECK(whole == t);
        else
            FUZZ_CHECK(whole == (t < low ? low : high));
    }
}

const QLocale &russian()
{
    static const QLocale locale(QLocale::Russian, QLocale::Russia);
    return locale;
}

// text() has 15 significant digits: reading it back lands within that, and writing the read value
// gives the same text again. In the program's own locale only the decimal separator differs, and
// there are no group separators.
void checkText(double value)
{
    QLocale::setDefault(QLocale::c());
    const QString plain = number::text(value);
    FUZZ_CHECK(!plain.isEmpty());
    QLocale::setDefault(russian());
    const QString local = number::text(value);
    QLocale::setDefault(QLocale::c());
    if (!std::isfinite(value))
        return;

    const double back = number::read(plain);
    const bool denormal = value != 0 && std::fabs(value) < DBL_MIN;
    if (!(near(back, value, 1e-14) || (denormal && std::fabs(back - value) <= DBL_TRUE_MIN))) {
        std::fprintf(stderr, "text(%.17g) = \"%s\" reads back as %.17g\n", value, qPrintable(plain), back);
        FUZZ_CHECK(false);
    }
    // Fifteen digits of the largest doubles round up past the range and read back as infinity.
    if (std::isfinite(back))
        FUZZ_CHECK(number::text(back) == plain);

    FUZZ_CHECK(!local.contains(russian().groupSeparator()));
    QString dotted = local;
    dotted.replace(russian().decimalPoint(), QStringLiteral("."));
    if (number::read(dotted) != back) {
        std::fprintf(stderr, "\"%s\" and \"%s\" differ\n", qPrintable(local), qPrintable(plain));
        FUZZ_CHECK(false);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto *chars = reinterpret_cast<const char *>(data);
    const QString latin1 = QString::fromLatin1(chars, static_cast<qsizetype>(size));
    checkRead(latin1);
    checkText(number::read(latin1));

    QString utf16(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, size / 2 * 2);
    checkRead(utf16);
    checkText(number::read(utf16));

    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        checkText(raw);
    }
    return 0;
}
