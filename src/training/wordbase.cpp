// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wordbase.h"

#include "common/paths.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <memory>
#include <string>

namespace wordbase
{

namespace
{

// Lines are skipped a block at a time: a vectorised count tells whether the next sampled line
// starts in the block at all. The count keeps its running total at each of its runs of `runSize`
// bytes, so the run where that line starts is found from those totals without counting the block
// again, and only that run is read byte by byte.
//
// A block is whole runs and one byte more, which the last run's flags read: no byte of it is left
// for the count's scalar tail, which cost 2-3 % at 4096 bytes.
constexpr qint64 runSize = 240;
constexpr qint64 blockSize = 17 * runSize + 1;
// The running totals of a count: before[k] is the count before its run k (k >= 1).
using RunTotals = std::array<qint64, blockSize / runSize + 1>;

// Whether a line ends at p[j]: each line end is flagged once, at the CR or at the byte before the
// LF. "p[j] is a CR or p[j + 1] is an LF" holds once for a CR LF, a lone CR and a lone LF alike.
// Two compares a byte, where telling a lone CR apart took three.
inline bool endsLineAt(const char *p, qint64 j)
{
    return (p[j] == '\r') | (p[j + 1] == '\n');
}

// Line ends in p[0, n): every LF, and every CR that no LF follows. A CR at the very end is not
// counted: only the next byte tells whether it is the first half of a CR LF. With orBytes, the
// bytes are also ORed into `bits`, so that an ASCII file needs no second pass for its encoding.
// An LF at p[0] has no byte before it here to be flagged at.
//
// The total after each whole run k goes to before[k + 1] (0 < n <= blockSize).
template <bool orBytes>
[[gnu::always_inline]] inline qint64 countLineEnds(const char *p, qint64 n, unsigned char &bits,
                                                   RunTotals &before)
{
    qint64 ends = p[0] == '\n';
    unsigned char any = 0;
    // Summed in runs of 240 into a byte-wide sum, so that the vectoriser adds 16 or 32 flags a
    // step instead of widening each to 64 bits; a constant run length keeps the loop free of
    // per-run bounds and scalar tails. The byte after each run is in p.
    qint64 i = 0;
    for (; i + runSize < n; i += runSize) {
        quint8 sum = 0;
        for (qint64 j = i; j < i + runSize; ++j) {
            sum += endsLineAt(p, j);
            if constexpr (orBytes)
                any |= static_cast<unsigned char>(p[j]);
        }
        ends += sum;
        before[static_cast<size_t>(i / runSize + 1)] = ends;
    }
    quint8 sum = 0;
    for (; i + 1 < n; ++i) {
        sum += endsLineAt(p, i);
        if constexpr (orBytes)
            any |= static_cast<unsigned char>(p[i]);
    }
    if constexpr (orBytes)
        bits |= any | static_cast<unsigned char>(p[n - 1]);
    return ends + sum;
}

// The start of line `target` (> line), which starts after byte i, on line `line`, and before the
// end of the block. An LF at p[i] ends a line whose flag is at p[i - 1].
qint64 lineStart(const char *p, qint64 i, qint64 line, qint64 target)
{
    qint64 left = target - line - (p[i] == '\n');
    if (left == 0)
        return i + 1;
    for (;; ++i)
        if (endsLineAt(p, i) && --left == 0)
            return i + 1 + (p[i + 1] == '\n');
}

// A block's count, built for each vector width the processor may have (the loader picks one).
ZORVIK_VECTOR_CLONES qint64 countBlock(const char *p, qint64 n, bool orBytes, unsigned char &bits,
                                       RunTotals &before)
{
    return orBytes ? countLineEnds<true>(p, n, bits, before) : countLineEnds<false>(p, n, bits, before);
}

// A uniform value in (0, 1): never 0, whose logarithm Algorithm L takes.
double openUniform(std::mt19937_64 &rng)
{
    return (static_cast<double>(rng() >> 11) + 0.5) * 0x1.0p-53;
}

// A uniform sample of the lines of a base as they stream past, by Algorithm L (Li, 1994): the
// first `size` lines fill it, and then each draw tells how many lines to skip before the next one
// replaces a random member. The lines in between are only counted.
//
// The pickable lines are the first pickRange ones, and pickRange is known only at the end (the
// last unpickedLastLines lines of a large base are not pickable). Algorithm L's draws depend
// neither on the lines nor on whether more lines come, so each replacement is drawn when its line
// is reached but held back until the line is known to be pickable: once the line
// unpickedLastLines further on exists, or at the end when it lies below pickRange. The sample is
// then exactly the one Algorithm L makes of the pickable lines alone, in which each of the
// C(N, size) sets of N pickable lines is equally likely; shuffled uniformly, each of its size!
// orders is. So every ordered choice of distinct lines has the probability (N - size)! / N!, as
// under the former draw, where the i-th word was uniform over the N - i + 1 lines not drawn yet
// because a repeat was drawn again (both in exact arithmetic: the draws are doubles).
class Sample
{
public:
    Sample(int size, std::mt19937_64 &rng) : m_rng(rng), m_size(size), m_lines(std::max(size, 0))
    {
        if (size <= 0)
            m_next = never;
    }

    // The position of the next line that enters the sample.
    qint64 next() const { return m_next; }

    // Line next() has come, with these bytes.
    void take(std::string bytes)
    {
        const qint64 position = m_next;
        const int slot = position < m_size ? static_cast<int>(position)
                                           : std::uniform_int_distribution<int>(0, m_size - 1)(m_rng);
        m_held.push_back({position, slot, std::move(bytes)});
        // This line exists, so every line unpickedLastLines or more before it is pickable.
        settle(position - unpickedLastLines + 1);
        if (position + 1 < m_size) {
            m_next = position + 1;
            return;
        }
        const double shrink = std::exp(std::log(openUniform(m_rng)) / m_size);
        m_w = position + 1 == m_size ? shrink : m_w * shrink;
        const double skip = std::floor(std::log(openUniform(m_rng)) / std::log1p(-m_w));
        m_next =
            skip < 0x1p62 && position < (qint64(1) << 62) ? position + 1 + static_cast<qint64>(skip) : never;
    }

    // The sample of the first pickRange lines in a uniformly random order. Needs pickRange >= size.
    QList<std::pair<qint64, std::string>> finish(qint64 pickRange)
    {
        settle(pickRange);
        m_held.clear();
        std::shuffle(m_lines.begin(), m_lines.end(), m_rng);
        return m_lines;
    }

private:
    static constexpr qint64 never = std::numeric_limits<qint64>::max();
    struct Replacement {
        qint64 position;
        int slot;
        std::string bytes;
    };

    // Applies the replacements of lines before the limit, in line order.
    void settle(qint64 limit)
    {
        while (!m_held.empty() && m_held.front().position < limit) {
            Replacement &r = m_held.front();
            m_lines[r.slot] = {r.position, std::move(r.bytes)};
            m_held.pop_front();
        }
    }

    std::mt19937_64 &m_rng;
    const int m_size;
    QList<std::pair<qint64, std::string>> m_lines; // position and bytes
    std::deque<Replacement> m_held; // at most unpickedLastLines: the lines not yet known pickable
    qint64 m_next = 0;
    double m_w = 0; // Algorithm L's W
};

} // namespace

Rating rate(qint64 lines)
{
    Rating rating{lines, 0};
    if (lines > largeBaseLines) {
        rating.level = 2;
        rating.pickRange -= unpickedLastLines;
    }
    if (rating.pickRange > 100 && rating.pickRange < largeBaseLines)
        rating.level = 1;
    return rating;
}

Pick pick(QIODevice &device, int count, std::mt19937_64 &rng)
{
    Pick result;
    Sample sample(count, rng);
    textcodec::Utf8Check utf8;
    // Left uninitialised: every byte is read into first.
    const auto buffer = std::unique_ptr<char[]>(new char[chunkSize]);
    QByteArray start; // the first bytes, for the BOM
    qint64 size = 0;
    char last = '\n';    // the last byte read
    qint64 line = 0;     // the line the next byte belongs to
    bool skipLF = false; // the previous byte was a CR: an LF now is its second half
    std::string word;    // the sampled line so far (most fit in the string itself, unallocated)
    for (;;) {
        // One byte past the limit tells a file that goes on.
        const qint64 n = device.read(buffer.get(), std::min(chunkSize, maxBaseBytes + 1 - size));
        if (n < 0 || size + n > maxBaseBytes) {
            result.error = n < 0 ? PickError::Unreadable : PickError::TooLarge;
            return result;
        }
        if (n == 0)
            break;
        const char *p = buffer.get();
        size += n;
        last = p[n - 1];
        if (start.size() < 3)
            start.append(p, std::min<qint64>(n, 3 - start.size()));
        // A BOM settles the encoding; Windows-1251 text fails the check within its first letters.
        const bool checking = !utf8.failed() && !textcodec::startsWithBom(start);
        // Until a multi-byte sequence has come, the check has nothing to do on plain ASCII: the
        // count below ORs every byte it reads, and so do the lines read byte by byte (line ends
        // are ASCII), so the check runs only on a chunk with a byte over 0x7F.
        const bool orBytes = checking && !utf8.sawMultiByte();
        unsigned char bits = 0; // the chunk's bytes ORed, while orBytes
        qint64 ored = 0;        // the bytes before this one have been ORed by a count

        qint64 i = 0;
        // The block counted last, [blockFrom, blockEnd): the line of its first byte, its line ends
        // (a CR at its end included) and the totals at its runs. The lines up to a sampled one are
        // placed by these, so no byte is counted twice.
        qint64 blockFrom = 0;
        qint64 blockEnd = 0;
        qint64 blockLine = 0;
        qint64 blockEnds = 0;
        RunTotals before;
        while (i < n) {
            if (skipLF) {
                skipLF = false;
                if (p[i] == '\n' && ++i == n)
                    break;
            }
            const qint64 next = sample.next();
            if (line < next) {
                if (i >= blockEnd) {
                    blockFrom = i;
                    blockEnd = std::min(n, i + blockSize);
                    blockLine = line;
                    ored = std::max(ored, blockEnd);
                    blockEnds =
                        countBlock(p + i, blockEnd - i, orBytes, bits, before) + (p[blockEnd - 1] == '\r');
                }
                const qint64 endLine = blockLine + blockEnds;
                const bool endsLine = p[blockEnd - 1] == '\r' || p[blockEnd - 1] == '\n';
                if (endLine < next || (endLine == next && endsLine)) {
                    line = endLine;
                    skipLF = p[blockEnd - 1] == '\r';
                    i = blockEnd;
                    continue;
                }
                // The next sampled line starts in this block, after byte i. Go on from the last
                // run start that lies before it or at its first byte, if that is past byte i. A
                // run's total counts a line end whose LF follows the run, so an LF at a run start
                // that no CR precedes ends the line before it; a CR before a run start leaves an LF
                // at it to skip.
                const qint64 runs = (blockEnd - blockFrom - 1) / runSize; // a short last one not
                for (qint64 k = 1; k <= runs; ++k) {
                    const qint64 a = blockFrom + k * runSize;
                    const bool cr = p[a - 1] == '\r';
                    const qint64 at = blockLine + before[static_cast<size_t>(k)] - (p[a] == '\n' && !cr);
                    if (at > next || (at == next && !cr && p[a - 1] != '\n'))
                        break;
                    if (a > i) {
                        i = a + (cr && p[a] == '\n');
                        line = at;
                    }
                }
                if (line < next)
                    i = lineStart(p, i, line, next);
                line = next;
            }
            // The sampled line, byte by byte to its end.
            const qint64 from = i;
            while (i < n && p[i] != '\n' && p[i] != '\r')
                ++i;
            // Most of these bytes were ORed by the count of their block; not those of a line read
            // from the chunk's start or past the block's end.
            for (qint64 k = std::max(from, ored); k < i; ++k)
                bits |= static_cast<unsigned char>(p[k]);
            const qsizetype room = maxWordBytes - static_cast<qsizetype>(word.size());
            if (room > 0)
                word.append(p + from, static_cast<size_t>(std::min(i - from, room)));
            if (i == n)
                break; // the line goes on in the next chunk
            skipLF = p[i] == '\r';
            ++i;
            sample.take(std::move(word));
            word.clear();
            ++line;
        }
        if (checking && (!orBytes || bits > 0x7F))
            utf8.feed(QByteArrayView(p, n));
    }
    // A last line without a line end counts; a file of nothing but a BOM has no lines.
    if (last != '\n' && last != '\r' && !(size == 3 && textcodec::startsWithBom(start))) {
        if (line == sample.next())
            sample.take(std::move(word));
        ++line;
    }

    result.lines = line;
    result.rating = rate(line);
    result.encoding = utf8.encoding(start);
    if (result.rating.pickRange < count) {
        result.error = PickError::TooFewLines;
        return result;
    }
    // Only the picked lines are decoded.
    textcodec::Decoder decode(result.encoding);
    for (const auto &[position, bytes] : sample.finish(result.rating.pickRange)) {
        result.positions.append(position);
        result.words.append(decode(position == 0 ? textcodec::withoutBom(bytes) : QByteArrayView(bytes)));
    }
    return result;
}

Pick pick(const QString &path, int count, std::mt19937_64 &rng)
{
    QFile file(path);
    Pick result;
    switch (paths::openRegularFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    case paths::Opened::Yes:
        return pick(file, count, rng);
    case paths::Opened::Missing:
        result.error = PickError::Missing;
        break;
    case paths::Opened::NotAFile:
        result.error = PickError::NotAFile;
        break;
    case paths::Opened::Unreadable:
        result.error = PickError::Unreadable;
        break;
    }
    return result;
}

} // namespace wordbase
