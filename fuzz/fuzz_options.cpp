// Options::parse and toBytes, and the text codec under them: the input is an options file.
#include "check.h"

#include "common/textcodec.h"
#include "settings/options.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringDecoder>

#include <cstdint>

namespace
{

using textcodec::Encoding;

// UTF-8 as the Unicode standard's table of well-formed byte sequences has it.
bool wellFormedUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    auto between = [&](qsizetype at, unsigned lo, unsigned hi) {
        return at < n && p[at] >= lo && p[at] <= hi;
    };
    while (i < n) {
        const unsigned b = p[i];
        if (b < 0x80) {
            i += 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            if (!between(i + 1, 0x80, 0xBF))
                return false;
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            const unsigned lo = b == 0xE0 ? 0xA0 : 0x80;
            const unsigned hi = b == 0xED ? 0x9F : 0xBF;
            if (!between(i + 1, lo, hi) || !between(i + 2, 0x80, 0xBF))
                return false;
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            const unsigned lo = b == 0xF0 ? 0x90 : 0x80;
            const unsigned hi = b == 0xF4 ? 0x8F : 0xBF;
            if (!between(i + 1, lo, hi) || !between(i + 2, 0x80, 0xBF) || !between(i + 3, 0x80, 0xBF))
                return false;
            i += 4;
        } else {
            return false;
        }
    }
    return true;
}

bool anyHighByte(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

// The lines are views into the bytes, in order, with exactly one line end between two of them and
// at most one after the last.
void checkSplit(QByteArrayView bytes, const QList<QByteArrayView> &lines)
{
    auto isEnd = [](QByteArrayView gap) { return gap == "\r\n" || gap == "\n" || gap == "\r"; };
    qsizetype at = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView line = lines[i];
        FUZZ_CHECK(line.data() >= bytes.data() && line.data() + line.size() <= bytes.data() + bytes.size());
        const qsizetype from = line.data() - bytes.data();
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n'));
        if (i == 0)
            FUZZ_CHECK(from == 0);
        else
            FUZZ_CHECK(isEnd(bytes.sliced(at, from - at)));
        // A CR LF is one line end, not a CR and then an empty line.
        if (i > 0 && bytes[from - 1] == '\r')
            FUZZ_CHECK(from == bytes.size() || bytes[from] != '\n');
        at = from + line.size();
    }
    const QByteArrayView rest = bytes.sliced(at);
    FUZZ_CHECK(rest.isEmpty() || (!lines.isEmpty() && isEnd(rest)));
}

void checkCodec(QByteArrayView bytes)
{
    // Utf8Check fed in pieces agrees with the standard, wherever the pieces are cut.
    const bool wellFormed = wellFormedUtf8(bytes);
    const qsizetype cut = bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes[0]) % (bytes.size() + 1);
    textcodec::Utf8Check whole, pieces, bytewise;
    whole.feed(bytes);
    pieces.feed(bytes.first(cut));
    pieces.feed(bytes.sliced(cut));
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytewise.feed(bytes.sliced(i, 1));
    FUZZ_CHECK(whole.valid() == wellFormed);
    FUZZ_CHECK(pieces.valid() == wellFormed && bytewise.valid() == wellFormed);
    if (wellFormed)
        FUZZ_CHECK(whole.sawMultiByte() == anyHighByte(bytes));

    const Encoding encoding = textcodec::detect(bytes);
    FUZZ_CHECK((encoding == Encoding::Utf8) ==
               (bytes.startsWith("\xEF\xBB\xBF") || (wellFormed && anyHighByte(bytes))));

    // Windows-1251 is one character per byte; well-formed UTF-8 decodes without loss.
    FUZZ_CHECK(textcodec::decode(bytes, Encoding::Windows1251).size() == bytes.size());
    if (wellFormed) {
        // The file's BOM goes, every other U+FEFF is a character and stays.
        const QString text = textcodec::decode(textcodec::withoutBom(bytes), Encoding::Utf8);
        const QByteArrayView body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
        FUZZ_CHECK(text.toUtf8() == body);
    }
}

QList<QString> fieldsOf(const Options &o)
{
    return {o.baseFile, o.wordCount, o.memoriseSeconds, o.recallSeconds};
}

void report(const char *what, const Options &o)
{
    std::fprintf(stderr, "%s:", what);
    for (const QString &field : fieldsOf(o)) {
        std::fprintf(stderr, " [");
        for (QChar c : field)
            std::fprintf(stderr, c.unicode() < 0x80 && c.isPrint() ? "%c" : "\\u%04X", c.unicode());
        std::fprintf(stderr, "]");
    }
    std::fprintf(stderr, "\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const QList<QByteArrayView> lines = textcodec::splitLines(bytes);
    checkSplit(bytes, lines);
    checkCodec(bytes);

    Options options;
    const int read = options.parse(bytes);
    FUZZ_CHECK(read >= 0 && read <= 4);
    FUZZ_CHECK(read == std::min<qsizetype>(textcodec::splitLines(textcodec::withoutBom(bytes)).size(), 4));
    const QList<QString> fields = fieldsOf(options);
    const QList<QString> defaults = fieldsOf(Options());
    for (int i = 0; i < 4; ++i) {
        FUZZ_CHECK(!fields[i].contains(u'\r') && !fields[i].contains(u'\n'));
        if (i >= read)
            FUZZ_CHECK(fields[i] == defaults[i]);
    }

    // Saving what was read and reading it again gives the same options, and saves the same bytes.
    const QByteArray saved = options.toBytes();
    FUZZ_CHECK(saved.endsWith("\r\n\r\n"));
    // Windows-1251 bytes that happen to be well-formed UTF-8 ("Ті" is D2 B3) must not be written.
    FUZZ_CHECK(textcodec::startsWithBom(saved) || textcodec::detect(saved) == Encoding::Windows1251);
    Options again;
    FUZZ_CHECK(again.parse(saved) == 4);
    if (again != options) {
        report("read", options);
        report("reread", again);
        FUZZ_CHECK(again == options);
    }
    FUZZ_CHECK(again.toBytes() == saved);
    return 0;
}
