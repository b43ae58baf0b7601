// The QtCore units: number reading and text, scoring, the options file, the text codec, the data
// folder, and the word pick.
#include "common/number.h"
#include "common/paths.h"
#include "results/score.h"
#include "settings/options.h"
#include "training/wordbase.h"

#include <QBuffer>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <QTest>

#include <cmath>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
QByteArray numbered(int count, const char *end = "\r\n")
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "w" + QByteArray::number(i) + end;
    return bytes;
}
QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}
void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}
// Hands out its bytes a few at a time, so that line ends and characters fall across reads.
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
const QByteArray defaults("wmbase.txt\r\n10\r\n10\r\n60\r\n\r\n");
} // namespace

// Each table has one column, "row", of one of these types.
// Columns: text, value, whole (truncated and clamped into 10..50).
using ReadRow = std::tuple<QString, double, int>;
// Columns: the shipped mfiles, whether the program's folder usr/bin is writable, whether the user's
// folder home/zorvik cannot be made, the user's files before ("name=text"), the folder chosen, the
// user's files after.
using FolderRow = std::tuple<QString, bool, bool, QStringList, QString, QStringList>;
// Columns: bytes, lines, words (every pickable line, in line order), utf8.
using PickLinesRow = std::tuple<QByteArray, qint64, QString, bool>;
// Columns: lines, words, draws.
using PickIsUniformRow = std::tuple<int, int, int>;

class tst_core : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void read_data()
    {
        QTest::addColumn<ReadRow>("row");
        // clang-format off
        const std::tuple<const char *, double, int> rows[] = {
            {"20abc", 20, 20}, {"1 5", 15, 15}, {"\t1\n0 ", 10, 10}, {"1\r5", 1, 10}, {"12.9", 12.9, 12},
            {"1,5", 1, 10}, {"1.2.3", 1.2, 10}, {".5", 0.5, 10}, {"abc", 0, 10}, {"", 0, 10}, {"-", 0, 10},
            {"- 5", -5, 10}, {"+70", 70, 50}, {"1e2", 100, 50}, {"25D-1", 2.5, 10}, {"3e", 3, 10},
            {"3e+x", 3, 10}, {"&H1F", 31, 31}, {"&HaA", 170, 50}, {"&hff", 255, 50}, {"&O17", 15, 15},
            {"&O78", 7, 10}, {"&X12", 0, 10}, {"NaN", 0, 10}, {"1e-999", 0, 10}, {"1e308", 1e308, 50},
            {"1e999", INFINITY, 50}, {"-1e999", -INFINITY, 10}, {"&HFFFFFFFF", 4294967295.0, 50},
            {"\xEF\xBC\x95", 0, 10}, // a full-width digit
        };
        // clang-format on
        for (const auto &[text, value, whole] : rows)
            QTest::newRow(text) << ReadRow{QString::fromUtf8(text), value, whole};
    }
    void read()
    {
        QFETCH(ReadRow, row);
        const auto [text, value, whole] = row;
        QCOMPARE(number::read(text), value);
        QCOMPARE(number::wholeIn(text, 10, 50), whole);
    }

    void score()
    {
        const auto text = [](const score::Points &p) {
            return QStringList{number::text(p.words), number::text(p.memorise), number::text(p.recall),
                               number::text(p.total)}
                .join(' ');
        };
        QCOMPARE(text(score::compute({50, 50, 10, 60, 2})), "50 40 8 100");
        QCOMPARE(text(score::compute({5, 0, 0, 0, 1})), "0 0 0 1"); // no division by zero
        QCOMPARE(number::text(1234.5), "1234,5");                   // no group separator
    }

    void loadAndSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("options.ini");
        write(path, QByteArray(10 << 20, 'x')); // a huge single line is cut to 64 KiB
        QCOMPARE(loadOptions(path).baseFile.size(), 64 * 1024);
        const Options options{"x.txt", "50", "30", "180"};
        QVERIFY(saveOptions(path, options).ok);
        QCOMPARE(contents(path), QByteArray("x.txt\r\n50\r\n30\r\n180\r\n\r\n"));
        QCOMPARE(contents(ZORVIK_DATA_DIR "/mfiles/options.ini"), defaults); // as shipped

        // The file is written in place when its folder takes no temporary file. Root ignores
        // permission bits, so the save runs as an ordinary user then.
        QFile::setPermissions(path, QFileDevice::ReadOther | QFileDevice::WriteOther |
                                        QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::setPermissions(dir.path(), QFileDevice::ReadOther | QFileDevice::ExeOther |
                                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const Options other{"y.txt", "20", "20", "120"};
        if (geteuid() != 0) {
            QVERIFY(saveOptions(path, other).ok);
        } else if (const pid_t child = fork(); child == 0) {
            _exit(setgid(65534) == 0 && setuid(65534) == 0 && saveOptions(path, other).ok ? 0 : 1);
        } else {
            int status = 1;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        QCOMPARE(loadOptions(path), other);
        QFile::setPermissions(dir.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void windows1251AgainstTheSystemConverter()
    {
        QStringDecoder reference("windows-1251");
        if (!reference.isValid())
            QSKIP("this Qt has no Windows-1251 converter of its own");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString decoded = textcodec::decode({&byte, 1}, textcodec::Encoding::Windows1251);
            QCOMPARE(decoded, reference.decode(QByteArrayView(&byte, 1)));
            QCOMPARE(textcodec::toWindows1251(decoded), QByteArray(1, byte));
        }
        QCOMPARE(textcodec::toWindows1251(u"кот ä"), std::nullopt);
    }

    void folder_data()
    {
        QTest::addColumn<FolderRow>("row");
        const QString bin = "usr/bin/mfiles", share = "usr/share/zorvik/mfiles", home = "home/zorvik";
        const QStringList shipped = {"abstrakt.txt=a", "options.ini=o", "wmbase.txt=w"};
        QTest::newRow("portable folder") << FolderRow{bin, true, false, {}, "usr/bin", {}};
        QTest::newRow("read-only program folder") << FolderRow{bin, false, false, {}, home, shipped};
        QTest::newRow("installed, first start") << FolderRow{share, true, false, {}, home, shipped};
        QTest::newRow("later start keeps the user's files, adds a new shipped base")
            << FolderRow{share, true,
                         false, {"mine.txt=m", "options.ini=changed", "wmbase.txt=edited"},
                         home,  {"abstrakt.txt=a", "mine.txt=m", "options.ini=changed", "wmbase.txt=edited"}};
        QTest::newRow("user folder cannot be made")
            << FolderRow{share, true, true, {}, "usr/share/zorvik", {}};
    }
    void folder()
    {
        QFETCH(FolderRow, row);
        const auto [where, writable, blocked, before, chosen, after] = row;
        QTemporaryDir tmp;
        const QDir root(tmp.path());
        const auto put = [&](const QString &dir, const QStringList &files) {
            root.mkpath(dir);
            for (const QString &file : files)
                write(root.filePath(dir + '/' + file.section('=', 0, 0)), file.section('=', 1).toUtf8());
        };
        put(where, {"abstrakt.txt=a", "options.ini=o", "wmbase.txt=w"});
        blocked ? put(".", {"home="}) : put("home/zorvik/mfiles", before);
        const paths::Folder folder =
            paths::chooseFolder(root.filePath("usr/bin"), root.filePath("home/zorvik"),
                                [&](const QString &) { return writable; });
        QCOMPARE(folder.dir, root.filePath(chosen));
        QCOMPARE(folder.error.isEmpty(), !blocked);
        QStringList found;
        const QDir mine(root.filePath("home/zorvik/mfiles"));
        for (const QString &name : mine.entryList(QDir::Files, QDir::Name))
            found << name + '=' + contents(mine.filePath(name));
        QCOMPARE(found, after);
    }

    // A pick of every pickable line, from a device that hands out its bytes a few at a time.
    void pickLines_data()
    {
        QTest::addColumn<PickLinesRow>("row");
        const auto words = [](int from, int to) {
            QStringList list;
            for (int i = from; i < to; ++i)
                list << QString("w%1").arg(i);
            return list.join('|');
        };
        QTest::newRow("empty") << PickLinesRow{QByteArray(), 0, "", false};
        QTest::newRow("last line without end") << PickLinesRow{QByteArray("a\r\nb"), 2, "a|b", false};
        QTest::newRow("extra empty line, blanks kept")
            << PickLinesRow{QByteArray(" a \r\n\r\n"), 2, " a |", false};
        QTest::newRow("lf") << PickLinesRow{numbered(5, "\n"), 5, words(0, 5), false};
        QTest::newRow("lone cr, and at the very end")
            << PickLinesRow{numbered(5, "\r"), 5, words(0, 5), false};
        QTest::newRow("1251") << PickLinesRow{QByteArray("\xEA\xEE\xF2\r\n"), 1, "кот", false};
        QTest::newRow("utf8") << PickLinesRow{QByteArray("ёж\r\n€𝄞\r\n"), 2, "ёж|€𝄞", true};
        QTest::newRow("bom alone") << PickLinesRow{QByteArray("\xEF\xBB\xBF"), 0, "", true};
        // Read as Windows-1251 once the last byte breaks the UTF-8.
        QTest::newRow("utf8, junk late")
            << PickLinesRow{QByteArray("ёж\r\n") + QByteArray(1000, 'a') + "\xFF", 2,
                            "С‘Р¶|" + QString(1000, 'a') + "я", false};
        QTest::newRow("long line cut")
            << PickLinesRow{QByteArray(3000, 'x') + "\r\nb", 2, QString(1024, 'x') + "|b", false};
        QTest::newRow("1000 lines") << PickLinesRow{numbered(1000), 1000, words(0, 1000), false};
        QTest::newRow("1012 lines: the last ten not pickable")
            << PickLinesRow{numbered(1012), 1012, words(0, 1002), false};
    }
    void pickLines()
    {
        QFETCH(PickLinesRow, row);
        const auto [bytes, count, words, utf8] = row;
        const qint64 range = wordbase::rate(count).pickRange;
        for (qint64 step : {1, 2, 3, 1 << 20}) {
            Trickle device(bytes, step);
            std::mt19937_64 rng(step);
            const wordbase::Pick pick = wordbase::pick(device, int(range), rng);
            QCOMPARE(pick.error, wordbase::PickError::None);
            QCOMPARE(pick.lines, count);
            QCOMPARE(pick.encoding == textcodec::Encoding::Utf8, utf8);
            QStringList inLineOrder(range);
            for (qsizetype i = 0; i < pick.positions.size(); ++i)
                inLineOrder[pick.positions[i]] = pick.words[i];
            QCOMPARE(inLineOrder.join('|'), words);
        }
    }

    // Every line is picked as often as any other, and every grid order of the picked lines is as
    // likely as any other: the slot of the lowest picked line is uniform. Pearson's statistic of
    // each stays below the 0.999 quantile of its chi-square distribution (the seed is fixed, so the
    // outcome is too).
    void pickIsUniform_data()
    {
        QTest::addColumn<PickIsUniformRow>("row");
        QTest::newRow("10 of 60 lines") << PickIsUniformRow{60, 10, 3000};
        QTest::newRow("50 of 1005 lines") << PickIsUniformRow{1005, 50, 3000};
    }
    void pickIsUniform()
    {
        QFETCH(PickIsUniformRow, row);
        const auto [count, words, draws] = row;
        const QByteArray bytes = numbered(count);
        const qint64 range = wordbase::rate(count).pickRange;
        std::mt19937_64 rng(2024);
        QList<int> picked(range), lowestAt(words);
        for (int d = 0; d < draws; ++d) {
            Trickle device(bytes, 1 << 20);
            const QList<qint64> positions = wordbase::pick(device, words, rng).positions;
            QCOMPARE(QSet<qint64>(positions.begin(), positions.end()).size(), words);
            for (qint64 p : positions)
                ++picked[p];
            ++lowestAt[std::min_element(positions.begin(), positions.end()) - positions.begin()];
        }
        const auto pearson = [](const QList<int> &counts, double expected) {
            double x = 0;
            for (int c : counts)
                x += (c - expected) * (c - expected) / expected;
            return x;
        };
        const auto quantile999 = [](double df) { // Wilson and Hilferty
            return df * std::pow(1 - 2 / (9 * df) + 3.09 * std::sqrt(2 / (9 * df)), 3);
        };
        // The lines of one pick are distinct, so their counts vary less than independent draws
        // would: by (range - words) / (range - 1).
        const double lines =
            pearson(picked, double(draws) * words / range) * double(range - 1) / double(range - words);
        QVERIFY2(lines < quantile999(range - 1), qPrintable(QString::number(lines)));
        const double order = pearson(lowestAt, double(draws) / words);
        QVERIFY2(order < quantile999(words - 1), qPrintable(QString::number(order)));
    }

    void rate()
    {
        // Lines, the lines a pick draws from, and the base-size level.
        const std::tuple<qint64, qint64, int> rows[] = {{100, 100, 0},   {101, 101, 1},       {999, 999, 1},
                                                        {1000, 1000, 0}, {1001, 991, 1},      {1009, 999, 1},
                                                        {1010, 1000, 2}, {1000000, 999990, 2}};
        for (const auto &[lines, range, level] : rows)
            QCOMPARE(std::pair(wordbase::rate(lines).pickRange, wordbase::rate(lines).level),
                     std::pair(range, level));
    }

    // The word bases that ship with the program: Windows-1251 with CR LF, distinct words of plain
    // letters (no ё, which is hard to type quickly), enough of them for the top base-size level.
    void shippedBases()
    {
        for (const auto &[name, letters] : {std::pair{"wmbase.txt", "^[а-я]+$"},
                                            {"abstrakt.txt", "^[а-я]+$"},
                                            {"english.txt", "^[a-z]+$"}}) {
            const QByteArray bytes = contents(ZORVIK_DATA_DIR "/mfiles/" + QString(name));
            QVERIFY(bytes.endsWith("\r\n") && bytes.count("\r\n") == bytes.count('\n') &&
                    bytes.count('\r') == bytes.count('\n'));
            QCOMPARE(textcodec::detect(bytes), textcodec::Encoding::Windows1251);
            QStringList words = textcodec::decode(bytes, textcodec::Encoding::Windows1251).split("\r\n");
            words.removeLast();
            QCOMPARE(wordbase::rate(words.size()).level, 2);
            QCOMPARE(QSet<QString>(words.begin(), words.end()).size(), words.size());
            for (const QString &word : words)
                QVERIFY2(QRegularExpression(letters).match(word).hasMatch(), qPrintable(word));
        }
    }
};

QTEST_GUILESS_MAIN(tst_core)
#include "tst_core.moc"
