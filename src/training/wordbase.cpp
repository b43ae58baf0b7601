#include "wordbase.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace wordbase
{

namespace
{

constexpr qint64 chunkSize = 256 * 1024;
// Lines are skipped a block at a time: a vectorised count tells whether the wanted line starts in
// the block at all.
constexpr qint64 blockSize = 4096;

std::unique_ptr<char[]> chunkBuffer()
{
    return std::unique_ptr<char[]>(new char[chunkSize]); // left uninitialised: every byte is read into first
}

// Line ends in p[0, n): every LF, and every CR that no LF follows. A CR at the very end is not
// counted: only the next byte tells whether it is the first half of a CR LF.
qint64 countLineEnds(const char *p, qint64 n)
{
    qint64 ends = 0;
    for (qint64 i = 0; i + 1 < n; ++i)
        ends += (p[i] == '\n') | ((p[i] == '\r') & (p[i + 1] != '\n'));
    if (n > 0)
        ends += p[n - 1] == '\n';
    return ends;
}

} // namespace

std::optional<Scan> scan(QIODevice &device)
{
    Scan result;
    textcodec::Utf8Check utf8;
    const auto buffer = chunkBuffer();
    QByteArray start; // the first bytes, for the BOM
    qint64 size = 0;
    bool pendingCR = false; // the previous chunk ended in CR
    char last = '\n';
    for (;;) {
        const qint64 n = device.read(buffer.get(), chunkSize);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        const char *p = buffer.get();
        size += n;
        if (start.size() < 3)
            start.append(p, std::min<qint64>(n, 3 - start.size()));
        if (pendingCR && p[0] != '\n')
            ++result.lines;
        result.lines += countLineEnds(p, n);
        pendingCR = p[n - 1] == '\r';
        last = p[n - 1];
        if (!utf8.failed())
            utf8.feed(QByteArrayView(p, n));
    }
    // A last line without a line end counts; a file of nothing but a BOM has no lines.
    if (pendingCR || (last != '\n' && !(size == 3 && textcodec::startsWithBom(start))))
        ++result.lines;
    if (textcodec::startsWithBom(start) || (utf8.valid() && utf8.sawMultiByte()))
        result.encoding = textcodec::Encoding::Utf8;
    return result;
}

Rating rate(qint64 lines)
{
    Rating rating{lines, 0};
    if (lines > 1000) {
        rating.level = 2;
        rating.pickRange -= 10;
    }
    if (rating.pickRange > 100 && rating.pickRange < 1000)
        rating.level = 1;
    return rating;
}

double uniform(std::mt19937_64 &rng)
{
    return static_cast<double>(rng() >> 11) * 0x1.0p-53;
}

QList<qint64> draw(int count, qint64 range, std::mt19937_64 &rng)
{
    Q_ASSERT(count <= range);
    QList<qint64> picked;
    picked.reserve(count);
    while (picked.size() < count) {
        const auto p =
            std::min(static_cast<qint64>(std::floor(static_cast<double>(range) * uniform(rng))), range - 1);
        if (!picked.contains(p))
            picked.append(p);
    }
    return picked;
}

std::optional<QList<QString>> readLines(QIODevice &device, const QList<qint64> &positions,
                                        textcodec::Encoding encoding)
{
    QList<qint64> targets = positions;
    std::sort(targets.begin(), targets.end());
    QList<QByteArray> found(targets.size());

    const auto buffer = chunkBuffer();
    qint64 line = 0;     // the line the next byte belongs to
    qsizetype next = 0;  // the next target to find
    bool skipLF = false; // the previous byte was a CR: an LF now is its second half
    QByteArray current;  // the wanted line so far
    while (next < targets.size()) {
        const qint64 n = device.read(buffer.get(), chunkSize);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        const char *p = buffer.get();
        qint64 i = 0;
        qint64 bytewiseUntil = 0;
        while (i < n && next < targets.size()) {
            if (skipLF) {
                skipLF = false;
                if (p[i] == '\n' && ++i == n)
                    break;
            }
            const qint64 target = targets[next];
            if (line != target && i >= bytewiseUntil) {
                // Lines before the target: skip whole blocks while the target does not start in
                // them; the block where it starts is read byte by byte.
                const qint64 end = std::min(n, i + blockSize);
                const bool crAtEnd = p[end - 1] == '\r';
                const bool endsWithLine = crAtEnd || p[end - 1] == '\n';
                const qint64 ends = countLineEnds(p + i, end - i) + crAtEnd;
                if (line + ends < target || (line + ends == target && endsWithLine)) {
                    line += ends;
                    skipLF = crAtEnd;
                    i = end;
                    continue;
                }
                bytewiseUntil = end;
            }
            // Byte by byte up to the end of the current line.
            const qint64 from = i;
            while (i < n && p[i] != '\n' && p[i] != '\r')
                ++i;
            if (line == target && current.size() < maxWordBytes)
                current.append(p + from, std::min(i - from, maxWordBytes - current.size()));
            if (i == n)
                break; // the line goes on in the next chunk
            skipLF = p[i] == '\r';
            ++i;
            if (line == target) {
                found[next++] = current;
                current.clear();
            }
            ++line;
        }
    }
    // The last line of a file without a final line end (a BOM alone is no line).
    if (next < targets.size() && line == targets[next] &&
        !(line == 0 ? textcodec::withoutBom(current) : QByteArrayView(current)).isEmpty())
        found[next++] = current;
    if (next < targets.size())
        return std::nullopt;

    textcodec::Decoder decode(encoding);
    QList<QString> words;
    words.reserve(positions.size());
    for (qint64 position : positions) {
        const auto index = std::lower_bound(targets.begin(), targets.end(), position) - targets.begin();
        words.append(decode(position == 0 ? textcodec::withoutBom(found[index]) : found[index]));
    }
    return words;
}

Pick pick(const QString &path, int count, std::mt19937_64 &rng)
{
    Pick result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = PickError::Missing;
        return result;
    }
    if (!info.isFile()) {
        result.error = PickError::NotAFile;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        result.error = PickError::Unreadable;
        return result;
    }
    const std::optional<Scan> counted = scan(file);
    if (!counted) {
        result.error = PickError::Unreadable;
        return result;
    }
    result.lines = counted->lines;
    result.rating = rate(counted->lines);
    if (result.rating.pickRange < count) {
        result.error = PickError::TooFewLines;
        return result;
    }
    result.positions = draw(count, result.rating.pickRange, rng);
    if (!file.seek(0)) {
        result.error = PickError::Unreadable;
        return result;
    }
    std::optional<QList<QString>> words = readLines(file, result.positions, counted->encoding);
    if (!words) {
        result.error = PickError::Unreadable; // the file shrank between the two passes
        return result;
    }
    result.words = std::move(*words);
    return result;
}

} // namespace wordbase
