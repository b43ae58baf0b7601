#include "training/wordbase.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "rows.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using textcodec::Encoding;

namespace
{
// Hands out its bytes a few at a time, so that line ends fall across reads.
struct Trickle : QBuffer {
    qint64 step;
    Trickle(const QByteArray &bytes, qint64 step) : step(step)
    {
        setData(bytes);
        open(QIODevice::ReadOnly);
    }
    qint64 readData(char *data, qint64 maxSize) override
    {
        return QBuffer::readData(data, std::min(maxSize, step));
    }
};
QByteArray lines(int count, const char *end = "\r\n")
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "w" + QByteArray::number(i) + end;
    return bytes;
}
} // namespace

// Columns: bytes, count, positions, words, utf8.
using ScanAndReadRow = std::tuple<QByteArray, qint64, QList<qint64>, QString, bool>;
// Columns: lines, pickRange, level.
using RateRow = std::tuple<qint64, qint64, int>;
// Columns: name, minLines, letters.
using ShippedBasesRow = std::tuple<QString, int, QString>;

class tst_wordbase : public QObject
{
    Q_OBJECT
private slots:
    void scanAndRead_data()
    {
        columns<ScanAndReadRow>();
        using P = QList<qint64>;
        addRow("empty", QByteArray(), qint64(0), P{}, "", false);
        addRow("crlf, order of positions kept", lines(20), qint64(20), P{7, 0, 19}, "w7|w0|w19", false);
        addRow("last line without end", QByteArray("a\r\nb"), qint64(2), P{1, 0}, "b|a", false);
        addRow("extra empty line", QByteArray("a\r\n\r\n"), qint64(2), P{1}, "", false);
        addRow("lf", lines(5, "\n"), qint64(5), P{4, 1}, "w4|w1", false);
        addRow("lone cr", lines(5, "\r"), qint64(5), P{3}, "w3", false);
        addRow("cr at the very end", QByteArray("a\r"), qint64(1), P{0}, "a", false);
        addRow("blanks kept", QByteArray(" a \r\n"), qint64(1), P{0}, " a ", false);
        addRow("1251", QByteArray("\xEA\xEE\xF2\r\n"), qint64(1), P{0}, "кот", false);
        addRow("utf8", QByteArray("ёж\r\nкот\r\n"), qint64(2), P{1}, "кот", true);
        addRow("bom",
               QByteArray("\xEF\xBB\xBF"
                          "cat\r\n"),
               qint64(1), P{0}, "cat", true);
        addRow("utf8, junk late", QByteArray("кот\r\n") + QByteArray(1000, 'a') + "\xFF", qint64(2), P{}, "",
               false);
        addRow("long line cut", QByteArray(3000, 'x') + "\r\nb", qint64(2), P{1}, "b", false);
    }
    void scanAndRead()
    {
        const auto [bytes, count, positions, words, utf8] = fetch<ScanAndReadRow>();
        for (qint64 step : {1, 2, 3, 1 << 20}) {
            Trickle device(bytes, step);
            const auto scan = wordbase::scan(device);
            QCOMPARE(scan->lines, count);
            QCOMPARE(scan->encoding == Encoding::Utf8, utf8);
            Trickle again(bytes, step);
            const auto read = wordbase::readLines(again, positions, scan->encoding);
            QCOMPARE(QStringList(*read).join('|'), words);
        }
        Trickle beyond(bytes, 7); // a position past the end fails
        QVERIFY(!wordbase::readLines(beyond, {count}, Encoding::Windows1251));
        Trickle huge(QByteArray(3000, 'x'), 100);
        QCOMPARE(wordbase::readLines(huge, {0}, Encoding::Windows1251)->at(0).size(), wordbase::maxWordBytes);
    }

    void rate_data()
    {
        columns<RateRow>();
        for (auto [lines, range, level] :
             std::initializer_list<std::tuple<qint64, qint64, int>>{{0, 0, 0},
                                                                    {100, 100, 0},
                                                                    {101, 101, 1},
                                                                    {999, 999, 1},
                                                                    {1000, 1000, 0},
                                                                    {1001, 991, 1},
                                                                    {1009, 999, 1},
                                                                    {1010, 1000, 2},
                                                                    {1000000, 999990, 2}})
            addRow(qPrintable(QString::number(lines)), lines, range, level);
    }
    void rate()
    {
        const auto [lines, pickRange, level] = fetch<RateRow>();
        QCOMPARE(wordbase::rate(lines).pickRange, pickRange);
        QCOMPARE(wordbase::rate(lines).level, level);
    }

    void draw()
    {
        bool sawFirst = false;
        for (quint64 seed = 1; seed <= 200; ++seed) {
            std::mt19937_64 rng(seed), same(seed);
            const QList<qint64> picked = wordbase::draw(50, 51, rng);
            QCOMPARE(QSet<qint64>(picked.begin(), picked.end()).size(), 50);
            QVERIFY(*std::max_element(picked.begin(), picked.end()) <= 50 && !picked.contains(-1));
            QCOMPARE(wordbase::draw(50, 51, same), picked);
            sawFirst = sawFirst || picked.contains(0);
        }
        QVERIFY(sawFirst);
        std::mt19937_64 a(1), b(2);
        QVERIFY(wordbase::draw(10, 1000000, a) != wordbase::draw(10, 1000000, b));
    }

    void pickErrors()
    {
        QTemporaryDir dir;
        QFile small(dir.filePath("small.txt"));
        QVERIFY(small.open(QIODevice::WriteOnly) && small.write(lines(9)) > 0);
        small.close();
        std::mt19937_64 rng(7);
        QCOMPARE(wordbase::pick(small.fileName(), 10, rng).error, wordbase::PickError::TooFewLines);
        QCOMPARE(wordbase::pick(dir.filePath("none.txt"), 10, rng).error, wordbase::PickError::Missing);
#ifdef Q_OS_UNIX
        const QString fifo = dir.filePath("x.txt"); // reading a named pipe would block forever
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(wordbase::pick(fifo, 10, rng).error, wordbase::PickError::NotAFile);
#endif
    }

    // The word bases that ship with the program.
    void shippedBases_data()
    {
        columns<ShippedBasesRow>();
        addRow("wmbase", "wmbase.txt", 1100, "^[а-я]+$"); // no ё: hard to type quickly
        addRow("abstrakt", "abstrakt.txt", 1011, "^[а-я]+$");
        addRow("english", "english.txt", 1011, "^[a-z]+$");
    }
    void shippedBases()
    {
        const auto [name, minLines, letters] = fetch<ShippedBasesRow>();
        QFile file(ZORVIK_DATA_DIR "/mfiles/" + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.endsWith("\r\n") && bytes.count("\r\n") == bytes.count('\n') &&
                bytes.count('\r') == bytes.count('\n'));
        QCOMPARE(textcodec::detect(bytes), textcodec::Encoding::Windows1251);
        QStringList words = textcodec::decode(bytes, textcodec::Encoding::Windows1251).split("\r\n");
        words.removeLast();
        QVERIFY(words.size() >= minLines);
        QCOMPARE(wordbase::rate(words.size()).level, 2); // the top base-size level is reachable
        QCOMPARE(QSet<QString>(words.begin(), words.end()).size(), words.size());
        for (const QString &word : words)
            QVERIFY2(QRegularExpression(letters).match(word).hasMatch(), qPrintable(word));
    }
};

QTEST_GUILESS_MAIN(tst_wordbase)
#include "tst_wordbase.moc"
