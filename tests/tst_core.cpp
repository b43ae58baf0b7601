// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The QtCore units that the window's tests and the fuzz targets do not pin down: reading numbers,
// the options file on disk, the data folder, how evenly the words are picked, and a training's
// rules on the ticks the test gives it.
#include "common/number.h"
#include "common/paths.h"
#include "common/savefile.h"
#include "settings/options.h"
#include "training/training.h"
#include "training/wordbase.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <QTest>

#include <cmath>
#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

static QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}
static void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// Each table has one column, "row", of one of these types.
// Columns: text, value, whole (truncated and clamped into 10..50).
using ReadRow = std::tuple<QString, double, int>;
// Columns: the shipped mfiles, whether the program's folder usr/bin is writable, whether the user's
// folder home/zorvik cannot be made, the user's files before ("name=text", "name->link target"), the
// folder chosen, the user's files after, a part of the start message (empty: none).
using FolderRow = std::tuple<QString, bool, bool, QStringList, QString, QStringList, QString>;
// Columns: what the name is before (a file's contents, "link", or "hard link" to a file "outside"),
// how it is written, the bytes, the error expected (%1 the folder), what the name holds after.
using SaveRow = std::tuple<QString, QString, QString, QString, QString>;
// Columns: a name in the user's folder, what it is (file, held by a writer, link, folder), its age in
// seconds, whether a start removes it.
using StaleRow = std::tuple<QString, QString, int, bool>;
// Columns: lines, words, draws.
using PickIsUniformRow = std::tuple<int, int, int>;

class tst_core : public QObject
{
    Q_OBJECT
    QTemporaryDir mountPoint;
    QString tmpfs; // a 64 KiB disk, in a mount namespace of this process's own; empty when not root

private slots:
    void initTestCase()
    {
        if (geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            ::mount("tmpfs", qPrintable(mountPoint.path()), "tmpfs", 0, "size=64k,mode=0755") == 0)
            tmpfs = mountPoint.path();
    }
    void cleanupTestCase()
    {
        if (!tmpfs.isEmpty())
            ::umount2(qPrintable(tmpfs), MNT_DETACH);
    }

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
            {"&H10", 16, 16}, {"\xEF\xBC\x95", 0, 10}, // the last a full-width digit
        };
        // clang-format on
        for (const auto &[text, value, whole] : rows)
            QTest::newRow(text) << ReadRow{QString::fromUtf8(text), value, whole};
        // Out of range, judged by its magnitude: the digits after the point do not lower it.
        QTest::newRow("0.111...e400") << ReadRow{"0." + QString(400, '1') + "e400", INFINITY, 50};
    }
    void read()
    {
        QFETCH(ReadRow, row);
        const auto [text, value, whole] = row;
        QCOMPARE(std::pair(number::read(text), number::wholeIn(text, 10, 50)), std::pair(value, whole));
    }

    void load()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("options.ini");
        write(path, QByteArray(10 << 20, 'x')); // a huge single line is cut to 64 KiB
        QCOMPARE(loadOptions(path).baseFile.size(), 64 * 1024);
        // The 64 KiB read cuts a letter of the fifth line in two; the four lines used are UTF-8.
        write(path, "слово.txt\r\n10\r\n10\r\n60\r\na" + QString(40000, u'я').toUtf8());
        QCOMPARE(loadOptions(path).baseFile, "слово.txt");
    }

    void save_data()
    {
        QTest::addColumn<SaveRow>("row");
        const QString link = "это символическая ссылка", full = "нет места на диске",
                      denied = "нет прав на запись в папку %1";
        QTest::newRow("a file is replaced") << SaveRow{"old", "", "new", "", "new"};
        QTest::newRow("a link is refused") << SaveRow{"link", "", "new", link, "link"};
        QTest::newRow("a read-only folder") << SaveRow{"old", "read-only", "new", denied, "old"};
        QTest::newRow("a hard link, read-only folder")
            << SaveRow{"hard link", "read-only", "new", denied, "outside"};
        QTest::newRow("full disk") << SaveRow{"old", "full", "new", full, "old"};
        QTest::newRow("a copy finds the file there") << SaveRow{"old", "create", "new", "", "old"};
        QTest::newRow("a copy on a full disk") << SaveRow{"", "create, full", "new", full, "-"};
        for (const QString how : {"create, no links", "create, no links, no noreplace"}) {
            QTest::addRow("%s", qPrintable(how)) << SaveRow{"", how, "new", "", "new"};
            QTest::addRow("%s, finds the file there", qPrintable(how))
                << SaveRow{"old", how, "new", "", "old"};
        }
    }
    // A write goes to a regular file only, completes or leaves what was there, and leaves no
    // temporary file behind.
    void save()
    {
        QFETCH(SaveRow, row);
        const auto [before, how, bytes, error, after] = row;
        if (how.contains("full") && tmpfs.isEmpty())
            QSKIP("a full disk needs a small tmpfs, which only root can mount here");
        if (how.contains("no") && !dlsym(RTLD_DEFAULT, "zorvik_shim"))
            QSKIP("needs the preloaded shim, as the test shim_tst_core runs it");
        QTemporaryDir disk;
        QDir dir(how.contains("full") ? tmpfs + "/row" : disk.path() + "/row");
        QVERIFY(dir.mkpath(".") && QFile::setPermissions(disk.path(), QFile::Permissions(0x7755)));
        const QString path = dir.filePath("options.ini"), outside = disk.filePath("outside");
        if (before == "link") // a dangling link: a write through it would make a file outside
            QVERIFY(QFile::link(outside, path));
        else if (before == "hard link") { // a write through it would change the file outside
            write(outside, "outside");
            QVERIFY(::link(qPrintable(outside), qPrintable(path)) == 0);
        } else if (!before.isEmpty())
            write(path, before.toUtf8());
        QFile::setPermissions(path, QFile::Permissions(0x6666));
        if (how.contains("full")) { // the disk filled to its last page
            const int fd = ::open(qPrintable(dir.filePath("filler")), O_WRONLY | O_CREAT, 0600);
            for (char page[4096] = {}; ::write(fd, page, sizeof page) > 0;) {
            }
            ::close(fd);
        }
        if (how.contains("read-only")) // the folder takes no new file, and root is told so too
            QVERIFY(QFile::setPermissions(dir.path(), QFile::Permissions(0x5555)) && setfsuid(65534) >= 0);
        for (const char *fault : {"NO_LINKS", "NO_NOREPLACE"}) // as on vfat, and on an older kernel
            if (how.contains(QString::fromLatin1(fault).toLower().replace('_', ' ')))
                qputenv(QByteArray("ZORVIK_SHIM_") + fault, "1");
        const savefile::Result result = how.contains("create") ? savefile::create(path, bytes.toUtf8())
                                                               : savefile::replace(path, bytes.toUtf8());
        setfsuid(0);
        qunsetenv("ZORVIK_SHIM_NO_LINKS");
        qunsetenv("ZORVIK_SHIM_NO_NOREPLACE");
        const QFileInfo info(path);
        const QByteArray found = info.isSymLink() ? "link" : !info.exists() ? "-" : contents(path);
        QCOMPARE(std::tuple(result.ok, result.error, found, contents(outside)),
                 std::tuple(error.isEmpty(), QString(error).replace("%1", dir.path()), after.toUtf8(),
                            QByteArray(before == "hard link" ? "outside" : "missing")));
        QStringList left = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
        left.removeOne("filler");
        QCOMPARE(left, found == "-" ? QStringList() : QStringList{"options.ini"});
        QFile::setPermissions(dir.path(), QFile::Permissions(0x7755));
        dir.removeRecursively();
    }

    void folder_data()
    {
        QTest::addColumn<FolderRow>("row");
        const QString bin = "usr/bin/mfiles", share = "usr/share/zorvik/mfiles", home = "home/zorvik";
        const QStringList shipped = {"abstrakt.txt=a", "options.ini=o", "wmbase.txt=w"};
        QTest::newRow("portable folder") << FolderRow{bin, true, false, {}, "usr/bin", {}, ""};
        QTest::newRow("read-only program folder") << FolderRow{bin, false, false, {}, home, shipped, ""};
        QTest::newRow("installed, first start") << FolderRow{share, true, false, {}, home, shipped, ""};
        QTest::newRow("later start keeps the user's files, adds a new shipped base")
            << FolderRow{share, true,
                         false, {"mine.txt=m", "options.ini=changed", "wmbase.txt=edited"},
                         home,  {"abstrakt.txt=a", "mine.txt=m", "options.ini=changed", "wmbase.txt=edited"},
                         ""};
        QTest::newRow("a deleted shipped base stays deleted, a new one arrives")
            << FolderRow{share, true,
                         false, {"../shipped.lst=options.ini\nwmbase.txt\n", "options.ini=changed"},
                         home,  {"abstrakt.txt=a", "options.ini=changed"},
                         ""};
        QTest::newRow("a list that cannot be read: nothing is copied, and the start says so")
            << FolderRow{share,
                         true,
                         false,
                         {"../shipped.lst/x=", "options.ini=changed"},
                         home,
                         {"options.ini=changed"},
                         "Не удалось прочитать список"};
        QTest::newRow("a list that cannot be kept: the start says so") << FolderRow{
            share, true, false, {"../shipped.lst->nowhere"}, home, shipped, "вернутся при следующем запуске"};
        QTest::newRow("user folder cannot be made")
            << FolderRow{share, true, true, {}, "usr/share/zorvik", {}, "Не удалось создать папку"};
    }
    void folder()
    {
        QFETCH(FolderRow, row);
        const auto [where, writable, blocked, before, chosen, after, said] = row;
        QTemporaryDir tmp;
        const QDir root(tmp.path());
        const auto put = [&](const QString &dir, const QStringList &files) {
            root.mkpath(dir);
            for (const QString &file : files) {
                const QString path =
                    root.filePath(dir + '/' + file.section(QRegularExpression("=|->"), 0, 0));
                root.mkpath(QFileInfo(path).path());
                file.contains("->") ? void(QFile::link(file.section("->", 1), path))
                                    : write(path, file.section('=', 1).toUtf8());
            }
        };
        put(where, {"abstrakt.txt=a", "options.ini=o", "wmbase.txt=w"});
        blocked ? put(".", {"home="}) : put("home/zorvik/mfiles", before);
        const paths::Folder folder =
            paths::chooseFolder(root.filePath("usr/bin"), root.filePath("home/zorvik"),
                                [&](const QString &) { return writable; });
        QCOMPARE(std::tuple(folder.dir, folder.error.isEmpty(), folder.error.contains(said), folder.writable),
                 std::tuple(root.filePath(chosen), said.isEmpty(), true, !blocked));
        QStringList found;
        const QDir mine(root.filePath("home/zorvik/mfiles"));
        for (const QString &name : mine.entryList(QDir::Files, QDir::Name))
            found << name + '=' + contents(mine.filePath(name));
        QCOMPARE(found, after);
    }

    // An unset, empty or relative HOME is no home: the password database's is taken, and no
    // folder is made at the file system's root or in the current folder. "pw" is that home.
    void userDir_data()
    {
        QTest::addColumn<QStringList>("row"); // HOME, XDG_DATA_HOME ("-": unset), the folder
        const QString pw = "pw/.local/share/tst_core";
        QTest::newRow("HOME") << QStringList{"/h", "-", "/h/.local/share/tst_core"};
        QTest::newRow("XDG_DATA_HOME") << QStringList{"/h", "/x", "/x/tst_core"};
        QTest::newRow("relative XDG_DATA_HOME") << QStringList{"/h", "x", "/h/.local/share/tst_core"};
        QTest::newRow("HOME unset") << QStringList{"-", "-", pw};
        QTest::newRow("HOME empty") << QStringList{"", "", pw};
        QTest::newRow("relative HOME") << QStringList{"relhome", "-", pw};
    }
    void userDir()
    {
        QFETCH(QStringList, row);
        const char *names[] = {"HOME", "XDG_DATA_HOME"};
        QByteArray saved[2];
        for (int i = 0; i < 2; ++i) {
            saved[i] = qgetenv(names[i]);
            row[i] == "-" ? qunsetenv(names[i]) : qputenv(names[i], row[i].toUtf8());
        }
        const QString found = paths::userDir();
        for (int i = 0; i < 2; ++i)
            saved[i].isNull() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
        QCOMPARE(found, QString(row[2]).replace(QRegularExpression("^pw"),
                                                QFile::decodeName(getpwuid(getuid())->pw_dir)));
    }

    // A start removes the temporary files that a kill left in the user's folder and its mfiles, once
    // they are old and no writer holds them; nothing else.
    void removeStale_data()
    {
        QTest::addColumn<StaleRow>("row");
        QTest::newRow("old") << StaleRow{".zorvik-1x2y3z", "file", 3600, true};
        QTest::newRow("ten minutes old, in mfiles") << StaleRow{"mfiles/.zorvik-0", "file", 601, true};
        QTest::newRow("young") << StaleRow{".zorvik-1x2y3z", "file", 595, false};
        QTest::newRow("old, held by a writer") << StaleRow{"mfiles/.zorvik-1x2y3z", "held", 3600, false};
        QTest::newRow("old link to an old file") << StaleRow{".zorvik-1x2y3z", "link", 3600, false};
        QTest::newRow("old folder") << StaleRow{".zorvik-1x2y3z", "folder", 3600, false};
        QTest::newRow("another name") << StaleRow{".zorvik-1x2y3z.txt", "file", 3600, false};
        QTest::newRow("not the program's") << StaleRow{"mfiles/.zorvik-ABC", "file", 3600, false};
    }
    void removeStale()
    {
        QFETCH(StaleRow, row);
        const auto [name, kind, seconds, removed] = row;
        QTemporaryDir home;
        const QString path = home.filePath("tst_core/" + name), target = home.filePath("target");
        QVERIFY(QDir().mkpath(home.filePath("tst_core/mfiles")));
        kind == "folder" ? void(QDir().mkdir(path)) : write(kind == "link" ? target : path, "x");
        if (kind == "link")
            QVERIFY(QFile::link(target, path));
        const int fd = ::open(qPrintable(path), O_RDONLY);
        QVERIFY(kind != "held" || ::flock(fd, LOCK_EX) == 0);
        const timespec age[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
        QVERIFY(::utimensat(AT_FDCWD, qPrintable(target), age, 0) == 0 || kind != "link");
        QVERIFY(::utimensat(AT_FDCWD, qPrintable(path), age, AT_SYMLINK_NOFOLLOW) == 0);
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
        paths::setUp();
        qunsetenv("XDG_DATA_HOME");
        paths::setDataDir({});
        ::close(fd);
        QCOMPARE(!QFileInfo(path).exists() && !QFileInfo(path).isSymLink(), removed);
    }

    // Every line is picked as often as any other, and every grid order of the picked lines is as
    // likely as any other: the slot of the lowest picked line is uniform (the seed is fixed, so the
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
        QBuffer device;
        for (int i = 0; i < count; ++i)
            device.buffer() += "w" + QByteArray::number(i) + "\r\n";
        device.open(QIODevice::ReadOnly);
        const qint64 range = wordbase::rate(count).pickRange;
        std::mt19937_64 rng(2024);
        QList<int> picked(range), lowestAt(words);
        for (int d = 0; d < draws; ++d) {
            device.seek(0);
            const QList<qint64> positions = wordbase::pick(device, words, rng).positions;
            QCOMPARE(QSet<qint64>(positions.begin(), positions.end()).size(), words);
            for (qint64 p : positions)
                ++picked[p];
            ++lowestAt[std::min_element(positions.begin(), positions.end()) - positions.begin()];
        }
        // Pearson's statistic of each stays below the 0.999 quantile of its chi-square distribution
        // (Wilson and Hilferty). The lines of one pick are distinct, so their counts vary less than
        // independent draws would: by (range - words) / (range - 1).
        const auto uniform = [](const QList<int> &counts, double expected, double shrink) {
            double x = 0, df = counts.size() - 1;
            for (int c : counts)
                x += (c - expected) * (c - expected) / expected / shrink;
            return x < df * std::pow(1 - 2 / (9 * df) + 3.09 * std::sqrt(2 / (9 * df)), 3);
        };
        QVERIFY(uniform(picked, double(draws) * words / range, double(range - words) / double(range - 1)));
        QVERIFY(uniform(lowestAt, double(draws) / words, 1));
    }

    // A training of "кот", "котёнок", "", "ёж", "ёж" with 20 seconds to memorise and 120 to recall,
    // on a base of level 1. Steps, by " ": "tN" N ticks, "s" STOP, "a" abandoned, "=TEXT" the recall
    // box's text. State: the phase (-, M, R) and the steps other than a count (r the recall starts,
    // e the end, i no phase, s a STOP that counted); the words found; the seconds left of each
    // phase; the score's inputs F N M R B.
    void training_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("state");
        const auto row = [](const char *name, const char *steps, const char *state) {
            QTest::newRow(name) << steps << state;
        };
        row("start: nothing is found while memorising", "=КОТ", "M  20 120 0 5 20 120 1");
        row("memorising, last second", "t19", "M  1 120 0 5 20 120 1");
        row("the recall starts at 0", "t20", "Rr  0 120 0 5 20 120 1");
        row("the recall, last second", "t20 t119", "Rr  0 1 0 5 20 120 1");
        row("then the end, once", "t20 t121", "-rei  0 0 0 5 20 120 1");
        row("stop 15 of 20 left", "t5 s", "Ms  1 120 0 5 10 120 1");
        row("stop 5 of 20 left, twice", "t15 s s t1", "Rsr  0 120 0 5 15 120 1");
        row("stop 100 of 120 left", "t20 t20 s", "Rrs  0 1 0 5 20 60 1");
        row("stop 10 of 120 left", "t20 t110 s t1", "-rse  0 0 0 5 20 110 1");
        row("a word, and the empty one with the emptied box", "t20 =КОТЁНОК", "Rr 1,2 0 120 2 5 20 120 1");
        row("found once, as typed upper-cased", "t20 =КОТ =КОТ =кот", "Rr 0,2 0 120 2 5 20 120 1");
        row("an empty box finds the empty word", "t20 =", "Rr 2 0 120 1 5 20 120 1");
        row("a repeated word, twice", "t20 =ЁЖ =ЁЖ", "Rr 2,3,4 0 120 3 5 20 120 1");
        row("all found: stopped", "t20 t30 =КОТ =ЁЖ =КОТЁНОК =ЁЖ", "Rr 0,1,2,3,4 0 1 5 5 20 60 1");
        row("all found, later STOP", "t20 t80 =КОТ =ЁЖ =КОТЁНОК =ЁЖ s t1", "-re 0,1,2,3,4 0 0 5 5 20 80 1");
        row("abandoned", "t3 a t1", "-i  17 120 0 5 20 120 1");
    }
    void training()
    {
        QFETCH(QString, steps);
        Training t;
        t.start({"кот", "котёнок", "", "ёж", "ёж"}, 20, 120, 1);
        QString events;
        for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
            for (int i = 0; step[0] == 't' && i < step.mid(1).toInt(); ++i)
                if (const Training::Step done = t.tick(); done != Training::Step::Counted)
                    events += QString("i-re")[int(done)];
            if (step == "s" && t.stop())
                events += 's';
            if (step == "a")
                t.abandon();
            if (step[0] == '=')
                t.enter(step.mid(1));
        }
        QStringList found, state;
        for (int i = 0; i < t.wordCount(); ++i)
            if (t.found(i))
                found << QString::number(i);
        const score::Inputs in = t.scoreInputs();
        for (double value : {double(t.memoriseLeft()), double(t.recallLeft()), in.recalled, in.words,
                             in.memoriseUsed, in.recallUsed, in.baseLevel})
            state << QString::number(value);
        QTEST(QString("-MR")[int(t.phase())] + events + ' ' + found.join(',') + ' ' + state.join(' '),
              "state");
    }

    // A regular file swapped for a named pipe after any look, just before it is opened, is refused
    // at once: nothing waits for a writer. A shipped file is not copied, and the start says so.
    void swappedForAPipe()
    {
        if (!dlsym(RTLD_DEFAULT, "zorvik_shim"))
            QSKIP("needs the preloaded shim, as the test shim_tst_core runs it");
        QTemporaryDir dir;
        const QString options = dir.filePath("options.ini"), base = dir.filePath("wmbase.txt"),
                      shipped = dir.filePath("share/zorvik/mfiles/wmbase.txt");
        write(options, "x.txt\r\n20\r\n");
        write(base, QByteArray("w\r\n").repeated(20));
        QVERIFY(QDir().mkpath(QFileInfo(shipped).path()));
        write(shipped, "w");
        qputenv("ZORVIK_SHIM_FIFO", QFile::encodeName(options));
        const Options loaded = loadOptions(options);
        qputenv("ZORVIK_SHIM_FIFO", QFile::encodeName(base));
        std::mt19937_64 rng(1);
        const wordbase::PickError error = wordbase::pick(base, 10, rng).error;
        qputenv("ZORVIK_SHIM_FIFO", QFile::encodeName(shipped));
        const QString said =
            paths::chooseFolder(dir.filePath("bin"), dir.filePath("home"), [](const QString &) {
                return true;
            }).error;
        qunsetenv("ZORVIK_SHIM_FIFO");
        QVERIFY(loaded == Options());
        QCOMPARE(error, wordbase::PickError::NotAFile);
        QVERIFY2(said.contains("wmbase.txt (файл не читается)") &&
                     !QFile::exists(dir.filePath("home/mfiles/wmbase.txt")),
                 qPrintable(said));
    }

    // A base that is there but cannot be opened is unreadable, not an empty pick (root is told so
    // too).
    void pickUnreadable()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("base.txt");
        write(path, "a\r\nb\r\n");
        QVERIFY(QFile::setPermissions(dir.path(), QFile::Permissions(0x7755)) &&
                QFile::setPermissions(path, {}) && setfsuid(65534) >= 0);
        std::mt19937_64 rng(1);
        const wordbase::PickError error = wordbase::pick(path, 1, rng).error;
        setfsuid(0);
        QCOMPARE(error, wordbase::PickError::Unreadable);
    }
};

QTEST_GUILESS_MAIN(tst_core)
#include "tst_core.moc"
