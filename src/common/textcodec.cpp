#include "textcodec.h"

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
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    while (p < end) {
        if (!m_valid)
            return;
        // Between characters: plain ASCII eight bytes at a time, and the two-byte sequences of
        // Cyrillic and other alphabets straight away.
        while (m_pending == 0 && p < end) {
            quint64 word;
            while (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080ULL) == 0))
                p += 8;
            if (p == end)
                break;
            const auto lead = static_cast<unsigned char>(p[0]);
            if (lead < 0x80) {
                ++p;
            } else if (lead >= 0xC2 && lead <= 0xDF && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
                p += 2;
                m_multiByte = true;
            } else {
                break;
            }
        }
        if (p == end)
            return;
        const auto b = static_cast<unsigned char>(*p++);
        if (m_pending > 0) {
            if (b < m_lowerBound || b > m_upperBound) {
                m_valid = false;
                return;
            }
            m_lowerBound = 0x80;
            m_upperBound = 0xBF;
            --m_pending;
            continue;
        }
        if (b < 0x80)
            continue;
        m_multiByte = true;
        m_lowerBound = 0x80;
        m_upperBound = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            m_pending = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            m_pending = 2;
            if (b == 0xE0)
                m_lowerBound = 0xA0; // overlong
            else if (b == 0xED)
                m_upperBound = 0x9F; // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            m_pending = 3;
            if (b == 0xF0)
                m_lowerBound = 0x90;
            else if (b == 0xF4)
                m_upperBound = 0x8F;
        } else {
            m_valid = false;
        }
    }
}

bool startsWithBom(QByteArrayView bytes)
{
    return bytes.startsWith(bom);
}

Encoding detect(QByteArrayView bytes)
{
    if (startsWithBom(bytes))
        return Encoding::Utf8;
    Utf8Check check;
    check.feed(bytes);
    return check.valid() && check.sawMultiByte() ? Encoding::Utf8 : Encoding::Windows1251;
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
