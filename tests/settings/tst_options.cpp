#include "settings/options.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{
const QByteArray defaultBytes("wmbase.txt\r\n10\r\n10\r\n60\r\n\r\n");

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class tst_options : public QObject
{
    Q_OBJECT
private slots:
    void defaultsAreTheShippedFile()
    {
        QCOMPARE(Options().toBytes(), defaultBytes);
        QCOMPARE(defaultBytes.size(), 26);
    }

    void roundTrip_data()
    {
        QTest::addColumn<Options>("options");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("defaults") << Options() << defaultBytes;
        QTest::newRow("blanks and text kept") << Options{QStringLiteral(" a.txt "), QStringLiteral("20abc"),
                                                         QStringLiteral("12.5"), QStringLiteral(" 60")}
                                              << QByteArray(" a.txt \r\n20abc\r\n12.5\r\n 60\r\n\r\n");
        QStringEncoder cp1251("windows-1251");
        QTest::newRow("cyrillic name in 1251")
            << Options{QString::fromUtf8("слова.txt"), QStringLiteral("10"), QStringLiteral("10"),
                       QStringLiteral("60")}
            << QByteArray(cp1251.encode(QString::fromUtf8("слова.txt\r\n10\r\n10\r\n60\r\n\r\n")));
        QTest::newRow("name beyond 1251 as utf8")
            << Options{QString::fromUtf8("日本.txt"), QStringLiteral("10"), QStringLiteral("10"),
                       QStringLiteral("60")}
            << QByteArray("\xEF\xBB\xBF"
                          "日本.txt\r\n10\r\n10\r\n60\r\n\r\n");
        QTest::newRow("empty name") << Options{QString(), QStringLiteral("10"), QStringLiteral("10"),
                                               QStringLiteral("60")}
                                    << QByteArray("\r\n10\r\n10\r\n60\r\n\r\n");
    }
    void roundTrip()
    {
        QFETCH(Options, options);
        QFETCH(QByteArray, bytes);
        QCOMPARE(options.toBytes(), bytes);
        Options read;
        read.baseFile = QStringLiteral("other");
        QCOMPARE(read.parse(bytes), 4);
        QCOMPARE(read, options);
    }

    void parseLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("extra lines ignored") << QByteArray("b.txt\r\n20\r\n15\r\n90\r\nmore\r\n") << 4
                                             << QStringList{"b.txt", "20", "15", "90"};
        QTest::newRow("lf") << QByteArray("b.txt\n20\n15\n90") << 4 << QStringList{"b.txt", "20", "15", "90"};
        QTest::newRow("lone cr") << QByteArray("b.txt\r20\r15\r90\r") << 4
                                 << QStringList{"b.txt", "20", "15", "90"};
        QTest::newRow("two lines keep the other defaults")
            << QByteArray("b.txt\r\n20\r\n") << 2 << QStringList{"b.txt", "20", "10", "60"};
        QTest::newRow("empty") << QByteArray() << 0 << QStringList{"wmbase.txt", "10", "10", "60"};
        QTest::newRow("utf8 with bom") << QByteArray("\xEF\xBB\xBF"
                                                     "кот.txt\n20\n15\n90\n")
                                       << 4 << QStringList{QString::fromUtf8("кот.txt"), "20", "15", "90"};
        QTest::newRow("nul bytes are text") << QByteArray("a\0b\r\n10\r\n10\r\n60\r\n", 18) << 4
                                            << QStringList{QString::fromUtf8("a\0b", 3), "10", "10", "60"};
    }
    void parseLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lines);
        QFETCH(QStringList, values);
        Options o;
        QCOMPARE(o.parse(bytes), lines);
        QCOMPARE((QStringList{o.baseFile, o.wordCount, o.memoriseSeconds, o.recallSeconds}), values);
    }

    void loadStatus()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("options.ini"));
        QCOMPARE(loadOptions(path).status, OptionsStatus::Missing);
        write(path, "a.txt\r\n20\r\n");
        QCOMPARE(loadOptions(path).status, OptionsStatus::Short);
        QCOMPARE(loadOptions(path).options.wordCount, QStringLiteral("20"));
        write(path, defaultBytes);
        QCOMPARE(loadOptions(path).status, OptionsStatus::Ok);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.ini")));
        QCOMPARE(loadOptions(dir.filePath(QStringLiteral("folder.ini"))).status, OptionsStatus::Unreadable);
    }

    void hugeSingleLineIsCut()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("options.ini"));
        write(path, QByteArray(10 * 1024 * 1024, 'x'));
        const LoadedOptions loaded = loadOptions(path);
        QCOMPARE(loaded.status, OptionsStatus::Short);
        QCOMPARE(loaded.options.baseFile.size(), 64 * 1024);
        QCOMPARE(loaded.options.wordCount, QStringLiteral("10"));
    }

    void saveReplacesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("options.ini"));
        write(path, "old contents that are longer than the new ones\r\n");
        const Options options{QStringLiteral("x.txt"), QStringLiteral("50"), QStringLiteral("30"),
                              QStringLiteral("180")};
        QVERIFY(saveOptions(path, options).ok);
        QCOMPARE(contents(path), options.toBytes());
        QVERIFY(saveOptions(path, options).ok);
        QCOMPARE(contents(path), options.toBytes());
    }

    void failedSaveKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("options.ini"));
        const SaveResult missingFolder =
            saveOptions(dir.filePath(QStringLiteral("nowhere/options.ini")), Options());
        QVERIFY(!missingFolder.ok);
        QVERIFY(!missingFolder.error.isEmpty());

#ifdef Q_OS_UNIX
        if (::geteuid() == 0)
            QSKIP("Permissions do not bind root");
#else
        QSKIP("Needs POSIX permissions");
#endif
        write(path, defaultBytes);
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const SaveResult readOnly = saveOptions(path, Options{QStringLiteral("y.txt"), {}, {}, {}});
        QFile::setPermissions(dir.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!readOnly.ok);
        QCOMPARE(contents(path), defaultBytes);
    }
};

QTEST_GUILESS_MAIN(tst_options)
#include "tst_options.moc"
