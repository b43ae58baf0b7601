// Any text as a number: read() gives no NaN, wholeIn() stays in its range and truncates what read()
// gives, and what text() writes reads back to the same text, with only the decimal point differing
// in Russian.
#include "check.h"

#include "common/number.h"

#include <QLocale>

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, size / 2 * 2);
    double raw = 0;
    std::memcpy(&raw, data, std::min(size, sizeof raw));
    for (const QString &text :
         {QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size)), utf16}) {
        const double value = number::read(text);
        FUZZ_CHECK(!std::isnan(value));
        const int whole = number::wholeIn(text, -5, 5);
        FUZZ_CHECK(whole == std::clamp(std::trunc(value), -5.0, 5.0));
    }
    if (!std::isfinite(raw))
        return 0;
    QLocale::setDefault(QLocale::c());
    const QString plain = number::text(raw);
    const double back = number::read(plain);
    FUZZ_CHECK(std::fabs(back - raw) <= 1e-14 * std::fabs(raw) + 5e-324 || std::isinf(back));
    FUZZ_CHECK(std::isinf(back) || number::text(back) == plain);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); // a comma, and no group separator
    FUZZ_CHECK(number::read(number::text(raw).replace(u',', u'.')) == back);
    return 0;
}
