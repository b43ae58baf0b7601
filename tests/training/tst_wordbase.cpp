#include "training/wordbase.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using textcodec::Encoding;

namespace
{

QByteArray numberedLines(int count, const char *end = "\r\n")
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "w" + QByteArray::number(i) + end;
    return bytes;
}

// A device that hands out its bytes a few at a time, so that line ends fall across reads.
class Trickle : public QBuffer
{
public:
    Trickle(const QByteArray &bytes, qint64 step) : m_step(step)
    {
        setData(bytes);
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        return QBuffer::readData(data, std::min(maxSize, m_step));
    }

private:
    qint64 m_step;
};

} // namespace

class tst_wordbase : public QObject
{
    Q_OBJECT
private slots:
    void scanCounts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("lines");
        QTest::newRow("empty") << QByteArray() << qint64(0);
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << qint64(2);
        QTest::newRow("last line without end") << QByteArray("a\r\nb") << qint64(2);
        QTest::newRow("extra empty line") << QByteArray("a\r\nb\r\n\r\n") << qint64(3);
        QTest::newRow("lf") << QByteArray("a\nb\n") << qint64(2);
        QTest::newRow("lone cr") << QByteArray("a\rb\r") << qint64(2);
        QTest::newRow("cr at the very end") << QByteArray("a\r") << qint64(1);
        QTest::newRow("only empty lines") << QByteArray("\r\n\r\n\r\n") << qint64(3);
        QTest::newRow("one line no end") << QByteArray(5000, 'x') << qint64(1);
        QTest::newRow("thousand") << numberedLines(1000) << qint64(1000);
    }
    void scanCounts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, lines);
        // Read in pieces of every size from 1 byte up, so that CR LF straddles the reads.
        for (qint64 step : {qint64(1), qint64(2), qint64(3), qint64(1) << 20}) {
            Trickle device(bytes, step);
            const auto scan = wordbase::scan(device);
            QVERIFY(scan);
            QCOMPARE(scan->lines, lines);
        }
    }

    void scanEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("encoding");
        QTest::newRow("1251") << QByteArray("\xEA\xEE\xF2\r\n") << Encoding::Windows1251;
        QTest::newRow("utf8") << QByteArray("кот\r\n") << Encoding::Utf8;
        QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF"
                                           "cat\r\n")
                             << Encoding::Utf8;
        QTest::newRow("ascii") << QByteArray("cat\r\n") << Encoding::Windows1251;
        QTest::newRow("utf8 then junk late")
            << QByteArray("кот\r\n") + QByteArray(1000, 'a') + "\xFF" << Encoding::Windows1251;
    }
    void scanEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Encoding, encoding);
        Trickle device(bytes, 7);
        QCOMPARE(wordbase::scan(device)->encoding, encoding);
    }

    void rate_data()
    {
        QTest::addColumn<qint64>("lines");
        QTest::addColumn<qint64>("pickRange");
        QTest::addColumn<int>("level");
        QTest::newRow("0") << qint64(0) << qint64(0) << 0;
        QTest::newRow("100") << qint64(100) << qint64(100) << 0;
        QTest::newRow("101") << qint64(101) << qint64(101) << 1;
        QTest::newRow("999") << qint64(999) << qint64(999) << 1;
        QTest::newRow("1000") << qint64(1000) << qint64(1000) << 0;
        QTest::newRow("1001") << qint64(1001) << qint64(991) << 1;
        QTest::newRow("1009") << qint64(1009) << qint64(999) << 1;
        QTest::newRow("1010") << qint64(1010) << qint64(1000) << 2;
        QTest::newRow("million") << qint64(1000000) << qint64(999990) << 2;
    }
    void rate()
    {
        QFETCH(qint64, lines);
        QFETCH(qint64, pickRange);
        QFETCH(int, level);
        const wordbase::Rating rating = wordbase::rate(lines);
        QCOMPARE(rating.pickRange, pickRange);
        QCOMPARE(rating.level, level);
    }

    void drawIsDistinctAndInRange_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<qint64>("range");
        QTest::newRow("all of a tight base") << 50 << qint64(50);
        QTest::newRow("51 lines") << 50 << qint64(51);
        QTest::newRow("big base") << 10 << qint64(1000000);
    }
    void drawIsDistinctAndInRange()
    {
        QFETCH(int, count);
        QFETCH(qint64, range);
        bool sawFirst = false;
        for (quint64 seed = 1; seed <= 200; ++seed) {
            std::mt19937_64 rng(seed);
            const QList<qint64> picked = wordbase::draw(count, range, rng);
            QCOMPARE(picked.size(), count);
            QCOMPARE(QSet<qint64>(picked.begin(), picked.end()).size(), count);
            for (qint64 p : picked)
                QVERIFY(p >= 0 && p < range);
            sawFirst = sawFirst || picked.contains(0);
        }
        if (range <= 51)
            QVERIFY(sawFirst); // the first line can be picked
    }

    void drawDependsOnTheSeed()
    {
        std::mt19937_64 a(1), b(1), c(2);
        QCOMPARE(wordbase::draw(10, 1000, a), wordbase::draw(10, 1000, b));
        std::mt19937_64 again(1);
        QVERIFY(wordbase::draw(10, 1000, again) != wordbase::draw(10, 1000, c));
    }

    void readLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<qint64>>("positions");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("order of positions kept")
            << numberedLines(20) << QList<qint64>{7, 0, 19} << QStringList{"w7", "w0", "w19"};
        QTest::newRow("lf ends") << numberedLines(5, "\n") << QList<qint64>{4, 1} << QStringList{"w4", "w1"};
        QTest::newRow("cr ends") << numberedLines(5, "\r") << QList<qint64>{3} << QStringList{"w3"};
        QTest::newRow("last line without end")
            << QByteArray("a\r\nb") << QList<qint64>{1, 0} << QStringList{"b", "a"};
        QTest::newRow("empty line") << QByteArray("a\r\n\r\nc\r\n") << QList<qint64>{1} << QStringList{""};
        QTest::newRow("blanks kept") << QByteArray(" a \r\n") << QList<qint64>{0} << QStringList{" a "};
    }
    void readLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<qint64>, positions);
        QFETCH(QStringList, words);
        for (qint64 step : {qint64(1), qint64(3), qint64(1) << 20}) {
            Trickle device(bytes, step);
            const auto read = wordbase::readLines(device, positions, Encoding::Windows1251);
            QVERIFY(read);
            QCOMPARE(QStringList(*read), words);
        }
    }

    void readLinesBeyondTheEnd()
    {
        Trickle device(QByteArray("a\r\nb\r\n"), 4);
        QVERIFY(!wordbase::readLines(device, {2}, Encoding::Windows1251));
    }

    void longLineIsCut()
    {
        Trickle device(QByteArray(3 * wordbase::maxWordBytes, 'x') + "\r\nb", 1000);
        const auto read = wordbase::readLines(device, {0, 1}, Encoding::Windows1251);
        QCOMPARE(read->at(0).size(), wordbase::maxWordBytes);
        QCOMPARE(read->at(1), QStringLiteral("b"));
    }

    void pickFromFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBF");
        file.write(numberedLines(1005));
        file.close();

        std::mt19937_64 rng(7);
        const wordbase::Pick pick = wordbase::pick(path, 50, rng);
        QCOMPARE(pick.error, wordbase::PickError::None);
        QCOMPARE(pick.lines, qint64(1005));
        QCOMPARE(pick.rating.level, 1);
        QCOMPARE(pick.words.size(), 50);
        for (int i = 0; i < 50; ++i) {
            QVERIFY(pick.positions[i] < 995); // the last ten lines are never picked
            QCOMPARE(pick.words[i], QStringLiteral("w%1").arg(pick.positions[i]));
        }
    }

    void pickErrors()
    {
        QTemporaryDir dir;
        std::mt19937_64 rng(1);
        QCOMPARE(wordbase::pick(dir.filePath(QStringLiteral("none.txt")), 10, rng).error,
                 wordbase::PickError::Missing);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.txt")));
        QCOMPARE(wordbase::pick(dir.filePath(QStringLiteral("folder.txt")), 10, rng).error,
                 wordbase::PickError::NotAFile);

#ifdef Q_OS_UNIX
        // Reading a named pipe would block forever.
        const QString fifo = dir.filePath(QStringLiteral("x.txt"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(wordbase::pick(fifo, 10, rng).error, wordbase::PickError::NotAFile);
#endif

        const QString small = dir.filePath(QStringLiteral("small.txt"));
        QFile file(small);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(numberedLines(9));
        file.close();
        const wordbase::Pick tooFew = wordbase::pick(small, 10, rng);
        QCOMPARE(tooFew.error, wordbase::PickError::TooFewLines);
        QCOMPARE(tooFew.rating.pickRange, qint64(9));
        // Exactly as many lines as words: every line once.
        const wordbase::Pick all = wordbase::pick(small, 9, rng);
        QCOMPARE(all.error, wordbase::PickError::None);
        QStringList sorted = all.words;
        sorted.sort();
        QCOMPARE(sorted, (QStringList{"w0", "w1", "w2", "w3", "w4", "w5", "w6", "w7", "w8"}));
    }
};

QTEST_GUILESS_MAIN(tst_wordbase)
#include "tst_wordbase.moc"
