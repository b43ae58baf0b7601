// wordbase::pick against textcodec::splitLines. The first two bytes steer the run, the rest is the
// word base:
//   byte 0: bits 0-4 give the size (1 to 32) of the pieces a second device hands out per read,
//           as a file larger than one read chunk is cut; bit 5 adds a third device that fails
//           after byte 1 % (size + 1) bytes;
//   byte 1: seeds the random draw and picks how many words are drawn.
#include "check.h"

#include "common/textcodec.h"
#include "training/wordbase.h"

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QSet>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>

namespace
{

// Hands out its bytes a few at a time, as the reads of a large file end at chunk boundaries (or any
// device may return short reads), and can fail at a given offset.
class PiecewiseDevice : public QIODevice
{
public:
    PiecewiseDevice(const QByteArray &bytes, qint64 piece, qint64 failAt)
        : m_bytes(bytes), m_piece(piece), m_failAt(failAt)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_failAt >= 0 && m_position >= m_failAt)
            return -1;
        qint64 n = std::min({m_piece, maxSize, m_bytes.size() - m_position});
        if (m_failAt >= 0)
            n = std::min(n, m_failAt - m_position);
        std::memcpy(data, m_bytes.constData() + m_position, static_cast<size_t>(n));
        m_position += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_piece;
    qint64 m_failAt;
    qint64 m_position = 0;
};

// A word is its line cut to maxWordBytes; the first line loses the file's BOM after the cut.
QString expectedWord(QByteArrayView line, qint64 position, textcodec::Encoding encoding)
{
    const QByteArrayView cut = line.first(std::min(line.size(), wordbase::maxWordBytes));
    return textcodec::decode(position == 0 ? textcodec::withoutBom(cut) : cut, encoding);
}

void checkPick(const wordbase::Pick &pick, int count, const QList<QByteArrayView> &lines,
               textcodec::Encoding encoding)
{
    const qint64 range = lines.size() > 1000 ? lines.size() - 10 : lines.size();
    FUZZ_CHECK(pick.lines == lines.size());
    FUZZ_CHECK(pick.rating.pickRange == range);
    FUZZ_CHECK(pick.rating.level >= 0 && pick.rating.level <= 2);
    FUZZ_CHECK(pick.encoding == encoding);
    if (count > range) {
        FUZZ_CHECK(pick.error == wordbase::PickError::TooFewLines);
        return;
    }
    FUZZ_CHECK(pick.error == wordbase::PickError::None);
    FUZZ_CHECK(pick.positions.size() == count && pick.words.size() == count);
    QSet<qint64> seen;
    for (qsizetype i = 0; i < count; ++i) {
        const qint64 p = pick.positions[i];
        FUZZ_CHECK(p >= 0 && p < range);
        FUZZ_CHECK(!seen.contains(p));
        seen.insert(p);
        const QString expected = expectedWord(lines[p], p, encoding);
        if (pick.words[i] != expected) {
            std::fprintf(stderr, "line %lld: got %lld chars, expected %lld\n", static_cast<long long>(p),
                         static_cast<long long>(pick.words[i].size()),
                         static_cast<long long>(expected.size()));
            FUZZ_CHECK(pick.words[i] == expected);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const qint64 piece = 1 + (data[0] & 0x1F);
    const bool failing = data[0] & 0x20;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 2, static_cast<qsizetype>(size - 2));
    const qint64 failAt = failing ? data[1] % (bytes.size() + 1) : -1;

    // A file that is nothing but a BOM has no lines.
    const QList<QByteArrayView> lines =
        textcodec::withoutBom(bytes).isEmpty() ? QList<QByteArrayView>() : textcodec::splitLines(bytes);
    const textcodec::Encoding encoding = textcodec::detect(bytes);
    const qint64 range = wordbase::rate(lines.size()).pickRange;

    // A few words, every pickable line when there are not too many, and one word too many. Reads
    // cut anywhere, inside a line end, a UTF-8 sequence or the BOM, change nothing, not even the
    // draw. (Every pick allocates a large buffer, so the picks are few.)
    QList<int> counts{1 + data[1] % 8, static_cast<int>(std::min<qint64>(range + 1, 1 << 20))};
    if (range <= 512)
        counts.append(static_cast<int>(range));
    for (int count : counts) {
        QBuffer whole;
        whole.setData(bytes);
        whole.open(QIODevice::ReadOnly);
        std::mt19937_64 rng(data[1]);
        const wordbase::Pick one = wordbase::pick(whole, count, rng);
        checkPick(one, count, lines, encoding);

        PiecewiseDevice pieces(bytes, piece, -1);
        rng.seed(data[1]);
        const wordbase::Pick other = wordbase::pick(pieces, count, rng);
        checkPick(other, count, lines, encoding);
        FUZZ_CHECK(other.positions == one.positions);
    }
    if (failing) {
        PiecewiseDevice device(bytes, piece, failAt);
        std::mt19937_64 rng(data[1]);
        FUZZ_CHECK(wordbase::pick(device, 1, rng).error == wordbase::PickError::Unreadable);
    }
    return 0;
}
