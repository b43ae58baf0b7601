// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as an options file. The UTF-8 check agrees with Qt's decoder wherever the bytes are cut,
// parse() takes at most four lines without their ends, each reads as a number that is no NaN and
// whose whole part wholeIn() clamps, and what toBytes() writes parses back to the same values and
// the same bytes, never as Windows-1251 that reads as UTF-8.
#include "check.h"

#include "common/number.h"
#include "common/textcodec.h"
#include "settings/options.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    QStringDecoder reference(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = reference(bytes);
    const bool valid = !reference.hasError();
    const qsizetype cut = size ? data[0] % (size + 1) : 0;
    textcodec::Utf8Check whole, pieces;
    whole.feed(bytes);
    pieces.feed(bytes.first(cut));
    pieces.feed(bytes.sliced(cut));
    FUZZ_CHECK(whole.valid() == valid && pieces.valid() == valid);
    FUZZ_CHECK(!valid || whole.sawMultiByte() == (decoded.size() != bytes.size()));

    Options options;
    const int lines = options.parse(bytes);
    FUZZ_CHECK(lines == std::min<qsizetype>(textcodec::splitLines(textcodec::withoutBom(bytes)).size(), 4));
    for (const QString &field :
         {options.baseFile, options.wordCount, options.memoriseSeconds, options.recallSeconds}) {
        FUZZ_CHECK(!field.contains(u'\r') && !field.contains(u'\n'));
        const double value = number::read(field);
        FUZZ_CHECK(!std::isnan(value) &&
                   number::wholeIn(field, -5, 5) == std::clamp(std::trunc(value), -5.0, 5.0));
    }
    const QByteArray saved = options.toBytes();
    FUZZ_CHECK(textcodec::startsWithBom(saved) ||
               textcodec::detect(saved) == textcodec::Encoding::Windows1251);
    Options again;
    FUZZ_CHECK(again.parse(saved) == 4 && again == options && again.toBytes() == saved);
    return 0;
}
