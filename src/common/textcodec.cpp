#include "textcodec.h"

#include <cstring>

#include <QStringDecoder>
#include <QStringEncoder>

namespace textcodec
{

namespace
{
constexpr QByteArrayView bom("\xEF\xBB\xBF", 3);
constexpr auto windows1251 = "windows-1251";
} // namespace

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
    : m_decoder(encoding == Encoding::Utf8
                    ? QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                               QStringDecoder::Flag::ConvertInitialBom)
                    : QStringDecoder(windows1251, QStringDecoder::Flag::Stateless))
{
}

QString Decoder::operator()(QByteArrayView bytes)
{
    return m_decoder.decode(bytes);
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
    QStringEncoder encoder(windows1251);
    QByteArray bytes = encoder.encode(text);
    // Some Windows-1251 texts ("Ті") are valid UTF-8 as bytes and would read back wrong.
    if (!encoder.hasError() && bytes.count('\x1A') == text.count(u'\x1A') &&
        detect(bytes) == Encoding::Windows1251)
        return bytes;
    return bom.toByteArray() + text.toUtf8();
}

} // namespace textcodec
