#include "training/wordbase.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

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

// Columns: bytes, lines, words (every pickable line, in line order), utf8.
using PickLinesRow = std::tuple<QByteArray, qint64, QString, bool>;
// Columns: lines, words, draws.
using PickIsUniformRow = std::tuple<int, int, int>;
// Columns: lines, pickRange, level.
using RateRow = std::tuple<qint64, qint64, int>;
// Columns: name, minLines, letters.
using ShippedBasesRow = std::tuple<QString, int, QString>;

class tst_wordbase : public QObject
{
    Q_OBJECT
private slots:
    // A pick of every pickable line, from a device that hands out its bytes a few at a time.
    void pickLines_data()
    {
        columns<PickLinesRow>();
        auto numbered = [](int from, int to) {
            QStringList words;
            for (int i = from; i < to; ++i)
                words << QString("w%1").arg(i);
            return words.join('|');
        };
        addRow("empty", QByteArray(), qint64(0), "", false);
        addRow("crlf", lines(20), qint64(20), numbered(0, 20), false);
        addRow("last line without end", QByteArray("a\r\nb"), qint64(2), "a|b", false);
        addRow("extra empty line", QByteArray("a\r\n\r\n"), qint64(2), "a|", false);
        addRow("lf", lines(5, "\n"), qint64(5), numbered(0, 5), false);
        addRow("lone cr", lines(5, "\r"), qint64(5), numbered(0, 5), false);
        addRow("cr at the very end", QByteArray("a\r"), qint64(1), "a", false);
        addRow("blanks kept", QByteArray(" a \r\n"), qint64(1), " a ", false);
        addRow("1251", QByteArray("\xEA\xEE\xF2\r\n"), qint64(1), "кот", false);
        addRow("utf8", QByteArray("ёж\r\nкот\r\n"), qint64(2), "ёж|кот", true);
        addRow("bom",
               QByteArray("\xEF\xBB\xBF"
                          "cat\r\n"),
               qint64(1), "cat", true);
        addRow("bom alone", QByteArray("\xEF\xBB\xBF"), qint64(0), "", true);
        // Read as Windows-1251 once the last byte breaks the UTF-8.
        addRow("utf8, junk late", QByteArray("ёж\r\n") + QByteArray(1000, 'a') + "\xFF", qint64(2),
               "С‘Р¶|" + QString(1000, 'a') + "я", false);
        addRow("long line cut", QByteArray(3000, 'x') + "\r\nb", qint64(2), QString(1024, 'x') + "|b", false);
        addRow("1000 lines", lines(1000), qint64(1000), numbered(0, 1000), false);
        addRow("1012 lines: the last ten not pickable", lines(1012), qint64(1012), numbered(0, 1002), false);
    }
    void pickLines()
    {
        const auto [bytes, count, words, utf8] = fetch<PickLinesRow>();
        const qint64 range = wordbase::rate(count).pickRange;
        for (qint64 step : {1, 2, 3, 1 << 20}) {
            Trickle device(bytes, step);
            std::mt19937_64 rng(step);
            const wordbase::Pick pick = wordbase::pick(device, int(range), rng);
            QCOMPARE(pick.error, wordbase::PickError::None);
            QCOMPARE(pick.lines, count);
            QCOMPARE(pick.encoding == Encoding::Utf8, utf8);
            QStringList inLineOrder(range);
            for (qsizetype i = 0; i < pick.positions.size(); ++i) {
                QVERIFY(pick.positions[i] >= 0 && pick.positions[i] < range);
                inLineOrder[pick.positions[i]] = pick.words[i];
            }
            QCOMPARE(inLineOrder.join('|'), words);
        }
    }

    // Every line is picked as often as any other, and every grid order of the picked lines is
    // as likely as any other: the slot of the lowest picked line is uniform. Pearson's statistic
    // of each stays below the 0.999 quantile of its chi-square distribution (the seed is fixed, so
    // the outcome is too).
    void pickIsUniform_data()
    {
        columns<PickIsUniformRow>();
        addRow("10 of 60 lines", 60, 10, 3000);
        addRow("50 of 1005 lines", 1005, 50, 3000);
    }
    void pickIsUniform()
    {
        const auto [count, words, draws] = fetch<PickIsUniformRow>();
        const QByteArray bytes = lines(count);
        const qint64 range = wordbase::rate(count).pickRange;
        std::mt19937_64 rng(2024);
        QList<int> picked(range), lowestAt(words);
        for (int d = 0; d < draws; ++d) {
            QBuffer device;
            device.setData(bytes);
            device.open(QIODevice::ReadOnly);
            const QList<qint64> positions = wordbase::pick(device, words, rng).positions;
            QCOMPARE(QSet<qint64>(positions.begin(), positions.end()).size(), words);
            for (qint64 p : positions) {
                QVERIFY(p >= 0 && p < range);
                ++picked[p];
            }
            ++lowestAt[std::min_element(positions.begin(), positions.end()) - positions.begin()];
        }
        auto pearson = [](const QList<int> &counts, double expected) {
            double x = 0;
            for (int c : counts)
                x += (c - expected) * (c - expected) / expected;
            return x;
        };
        auto quantile999 = [](double df) { // Wilson and Hilferty
            return df * std::pow(1 - 2 / (9 * df) + 3.09 * std::sqrt(2 / (9 * df)), 3);
        };
        // The lines of one pick are distinct, so their counts vary less than independent draws
        // would: by (range - words) / (range - 1).
        const double lineStatistic =
            pearson(picked, double(draws) * words / range) * double(range - 1) / double(range - words);
        QVERIFY2(lineStatistic < quantile999(range - 1), qPrintable(QString::number(lineStatistic)));
        const double orderStatistic = pearson(lowestAt, double(draws) / words);
        QVERIFY2(orderStatistic < quantile999(words - 1), qPrintable(QString::number(orderStatistic)));
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
