// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// wordbase::pick on any bytes, against textcodec::splitLines. Byte 0 gives the size of the pieces a
// second device hands out per read (reads cut anywhere change nothing, not even the draw) and
// whether a third device fails part-way; byte 1 seeds the draw and says how many words to pick.
#include "check.h"

#include "training/wordbase.h"

#include <QBuffer>
#include <QSet>

namespace
{
struct Pieces : QBuffer {
    qint64 piece, failAt;
    Pieces(const QByteArray &bytes, qint64 piece, qint64 failAt) : piece(piece), failAt(failAt)
    {
        setData(bytes);
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    qint64 readData(char *data, qint64 maxSize) override
    {
        return failAt >= 0 && pos() >= failAt ? -1 : QBuffer::readData(data, std::min(maxSize, piece));
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 2, qsizetype(size - 2));
    const QList<QByteArrayView> lines = // a file of nothing but a BOM has no lines
        textcodec::withoutBom(bytes).isEmpty() ? QList<QByteArrayView>() : textcodec::splitLines(bytes);
    const qint64 range = lines.size() > 1000 ? lines.size() - 10 : lines.size();
    for (int count :
         {1 + data[1] % 8, int(std::min<qint64>(range, 512)), int(std::min<qint64>(range + 1, 1 << 20))}) {
        QList<qint64> positions;
        for (qint64 piece : {qint64(1) << 30, qint64(1 + (data[0] & 0x1F))}) {
            Pieces device(bytes, piece, -1);
            std::mt19937_64 rng(data[1]);
            const wordbase::Pick pick = wordbase::pick(device, count, rng);
            FUZZ_CHECK(pick.lines == lines.size() && pick.rating.pickRange == range);
            FUZZ_CHECK(pick.encoding == textcodec::detect(bytes));
            FUZZ_CHECK(pick.error ==
                       (count > range ? wordbase::PickError::TooFewLines : wordbase::PickError::None));
            FUZZ_CHECK(pick.error != wordbase::PickError::None ||
                       (pick.words.size() == count &&
                        QSet<qint64>(pick.positions.begin(), pick.positions.end()).size() == count));
            for (qsizetype i = 0; i < pick.words.size(); ++i) {
                const qint64 p = pick.positions[i];
                const QByteArrayView line =
                    lines.value(p).first(std::min(lines.value(p).size(), wordbase::maxWordBytes));
                FUZZ_CHECK(p >= 0 && p < range &&
                           pick.words[i] ==
                               textcodec::decode(p == 0 ? textcodec::withoutBom(line) : line, pick.encoding));
            }
            FUZZ_CHECK(positions.isEmpty() || pick.positions == positions);
            positions = pick.positions;
        }
    }
    Pieces failing(bytes, 1 + (data[0] & 0x1F), data[1] % (bytes.size() + 1));
    std::mt19937_64 rng(data[1]);
    FUZZ_CHECK(!(data[0] & 0x20) || wordbase::pick(failing, 1, rng).error == wordbase::PickError::Unreadable);
    return 0;
}
