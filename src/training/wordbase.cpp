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

// Line ends in a chunk: every LF, and every CR that no LF follows. A CR at the very end is left for
// the next chunk to decide.
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
    const auto buffer = std::make_unique<char[]>(chunkSize);
    QByteArray start;       // the first bytes, for the BOM
    bool pendingCR = false; // the previous chunk ended in CR
    char last = '\n';
    for (;;) {
        const qint64 n = device.read(buffer.get(), chunkSize);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        const char *p = buffer.get();
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
    if (pendingCR)
        ++result.lines;
    else if (last != '\n')
        ++result.lines; // a last line without a line end
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

    const auto buffer = std::make_unique<char[]>(chunkSize);
    qint64 line = 0;
    qsizetype next = 0;
    bool afterCR = false;
    QByteArray current;
    while (next < targets.size()) {
        const qint64 n = device.read(buffer.get(), chunkSize);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        const char *p = buffer.get();
        qint64 i = 0;
        if (afterCR && p[0] == '\n')
            i = 1; // the LF of a CR LF split between two chunks
        afterCR = false;
        while (i < n && next < targets.size()) {
            const bool wanted = line == targets[next];
            const qint64 start = i;
            while (i < n && p[i] != '\n' && p[i] != '\r')
                ++i;
            if (wanted && current.size() < maxWordBytes)
                current.append(p + start, std::min(i - start, maxWordBytes - current.size()));
            if (i == n)
                break; // the line goes on in the next chunk
            if (p[i] == '\r') {
                if (i + 1 < n && p[i + 1] == '\n')
                    ++i;
                else if (i + 1 == n)
                    afterCR = true;
            }
            ++i;
            if (wanted) {
                found[next++] = current;
                current.clear();
            }
            ++line;
        }
    }
    // The last line of a file without a final line end.
    if (next < targets.size() && line == targets[next] && !current.isEmpty())
        found[next++] = current;
    if (next < targets.size())
        return std::nullopt;

    QList<QString> words;
    words.reserve(positions.size());
    for (qint64 position : positions) {
        const auto index = std::lower_bound(targets.begin(), targets.end(), position) - targets.begin();
        words.append(textcodec::decode(found[index], encoding));
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
