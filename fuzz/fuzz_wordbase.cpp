// wordbase::scan, draw and readLines against textcodec::splitLines. The first two bytes steer the
// run, the rest is the word base:
//   byte 0: bits 0-4 give the size (1 to 32) of the pieces a second device hands out per read,
//           as a file larger than one read chunk is cut; bit 5 adds a third device that fails
//           after byte 1 % (size + 1) bytes;
//   byte 1: seeds the random draw and picks how many positions are drawn.
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
#include <memory>
#include <optional>
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

void checkDraw(const QList<qint64> &positions, int count, qint64 range)
{
    FUZZ_CHECK(positions.size() == count);
    QSet<qint64> seen;
    for (qint64 p : positions) {
        FUZZ_CHECK(p >= 0 && p < range);
        FUZZ_CHECK(!seen.contains(p));
        seen.insert(p);
    }
}

// The words at the positions, from a fresh device each time.
template <typename MakeDevice>
void checkReadLines(MakeDevice makeDevice, const QList<QByteArrayView> &lines, const QList<qint64> &positions,
                    textcodec::Encoding encoding)
{
    auto device = makeDevice();
    const std::optional<QList<QString>> words = wordbase::readLines(*device, positions, encoding);
    const bool inRange =
        std::all_of(positions.begin(), positions.end(), [&](qint64 p) { return p < lines.size(); });
    FUZZ_CHECK(words.has_value() == inRange);
    if (!words)
        return;
    FUZZ_CHECK(words->size() == positions.size());
    for (qsizetype i = 0; i < positions.size(); ++i) {
        const QString expected = expectedWord(lines[positions[i]], positions[i], encoding);
        if (words->at(i) != expected) {
            std::fprintf(stderr, "line %lld: got %lld chars, expected %lld\n",
                         static_cast<long long>(positions[i]), static_cast<long long>(words->at(i).size()),
                         static_cast<long long>(expected.size()));
            FUZZ_CHECK(words->at(i) == expected);
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
    const qint64 count = lines.size();

    auto buffer = [&] {
        auto device = std::make_unique<QBuffer>();
        device->setData(bytes);
        device->open(QIODevice::ReadOnly);
        return device;
    };
    auto pieces = [&] { return std::make_unique<PiecewiseDevice>(bytes, piece, -1); };

    {
        auto device = buffer();
        const std::optional<wordbase::Scan> scan = wordbase::scan(*device);
        FUZZ_CHECK(scan.has_value());
        FUZZ_CHECK(scan->lines == count);
        FUZZ_CHECK(scan->encoding == encoding);
    }
    {
        auto device = pieces();
        const std::optional<wordbase::Scan> scan = wordbase::scan(*device);
        FUZZ_CHECK(scan.has_value());
        if (scan->lines != count)
            std::fprintf(stderr, "pieces of %lld: %lld lines, expected %lld\n", static_cast<long long>(piece),
                         static_cast<long long>(scan->lines), static_cast<long long>(count));
        FUZZ_CHECK(scan->lines == count);
        // Reads that end inside a UTF-8 sequence or inside the BOM change nothing.
        FUZZ_CHECK(scan->encoding == encoding);
    }
    if (failing) {
        PiecewiseDevice device(bytes, piece, failAt);
        FUZZ_CHECK(!wordbase::scan(device).has_value());
    }

    const wordbase::Rating rating = wordbase::rate(count);
    FUZZ_CHECK(rating.pickRange == (count > 1000 ? count - 10 : count));
    FUZZ_CHECK(rating.level >= 0 && rating.level <= 2);

    std::mt19937_64 rng(data[1]);
    if (count > 0) {
        // Every line, in a drawn order, and a few drawn ones.
        if (count <= 512) {
            const QList<qint64> all = wordbase::draw(static_cast<int>(count), count, rng);
            checkDraw(all, static_cast<int>(count), count);
            checkReadLines(buffer, lines, all, encoding);
            checkReadLines(pieces, lines, all, encoding);
        }
        const int few = 1 + static_cast<int>(data[1] % std::min<qint64>(count, 8));
        const QList<qint64> some = wordbase::draw(few, count, rng);
        checkDraw(some, few, count);
        checkReadLines(buffer, lines, some, encoding);
        checkReadLines(pieces, lines, some, encoding);
    }

    // Positions past the end fail, alone or with good ones. (Every read of a base allocates a
    // large buffer, so the checks are few.)
    if (count > 0) {
        checkReadLines(buffer, lines, {count - 1, count}, encoding);
        checkReadLines(pieces, lines, {count + 1 + data[1], 0}, encoding);
    } else {
        checkReadLines(buffer, lines, {0}, encoding);
        checkReadLines(pieces, lines, {data[1]}, encoding);
    }

    // A huge range: the draw stays inside it.
    const qint64 huge = (qint64(1) << 62) + data[1];
    checkDraw(wordbase::draw(3, huge, rng), 3, huge);
    return 0;
}
