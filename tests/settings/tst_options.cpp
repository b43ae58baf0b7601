#include "settings/options.h"

#include "common/textcodec.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

#include "rows.h"

namespace
{
const QByteArray defaults("wmbase.txt\r\n10\r\n10\r\n60\r\n\r\n");
QString joined(const Options &o)
{
    return QStringList{o.baseFile, o.wordCount, o.memoriseSeconds, o.recallSeconds}.join('|');
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
} // namespace

// Columns: bytes, lines, values, roundTrip (saving the values gives these bytes again).
using ParseRow = std::tuple<QByteArray, int, QString, bool>;

class tst_options : public QObject
{
    Q_OBJECT
private slots:
    void parse_data()
    {
        columns<ParseRow>();
        addRow("defaults", defaults, 4, "wmbase.txt|10|10|60", true);
        addRow("blanks and text kept", QByteArray(" a.txt \r\n20abc\r\n12.5\r\n 60\r\n\r\n"), 4,
               " a.txt |20abc|12.5| 60", true);
        addRow("cyrillic in 1251", cp1251(u"слова.txt\r\n1\r\n2\r\n3\r\n\r\n"), 4, "слова.txt|1|2|3", true);
        addRow("beyond 1251 in utf8",
               QByteArray("\xEF\xBB\xBF"
                          "日本.txt\r\n1\r\n2\r\n3\r\n\r\n"),
               4, "日本.txt|1|2|3", true);
        addRow("empty name", QByteArray("\r\n1\r\n2\r\n3\r\n\r\n"), 4, "|1|2|3", true);
        addRow("extra lines ignored", QByteArray("b\r\n1\r\n2\r\n3\r\nmore\r\n"), 4, "b|1|2|3", false);
        addRow("lf", QByteArray("b\n1\n2\n3"), 4, "b|1|2|3", false);
        addRow("lone cr", QByteArray("b\r1\r2\r3\r"), 4, "b|1|2|3", false);
        addRow("short: defaults for the rest", QByteArray("b\r\n20\r\n"), 2, "b|20|10|60", false);
        addRow("empty", QByteArray(), 0, "wmbase.txt|10|10|60", false);
        addRow("utf8 without bom", QByteArray("кот.txt\n1\n2\n3\n"), 4, "кот.txt|1|2|3", false);
    }
    void parse()
    {
        const auto [bytes, lines, values, roundTrip] = fetch<ParseRow>();
        Options o;
        QCOMPARE(o.parse(bytes), lines);
        QCOMPARE(joined(o), values);
        if (roundTrip)
            QCOMPARE(o.toBytes(), bytes);
    }

    void loadAndSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("options.ini");
        QCOMPARE(loadOptions(path).status, OptionsStatus::Missing);
        write(path, "a.txt\r\n20\r\n");
        QCOMPARE(loadOptions(path).status, OptionsStatus::Short);
        write(path, QByteArray(10 << 20, 'x')); // a huge single line is cut to 64 KiB
        QCOMPARE(loadOptions(path).options.baseFile.size(), 64 * 1024);
        QCOMPARE(loadOptions(dir.path()).status, OptionsStatus::Unreadable); // a folder

        const Options options{"x.txt", "50", "30", "180"};
        QVERIFY(saveOptions(path, options).ok);
        QCOMPARE(contents(path), QByteArray("x.txt\r\n50\r\n30\r\n180\r\n\r\n"));
        QCOMPARE(loadOptions(path).options, options);
        QCOMPARE(loadOptions(path).status, OptionsStatus::Ok);
        QCOMPARE(Options().toBytes(), defaults); // the 26 bytes of a new installation
        QCOMPARE(contents(ZORVIK_DATA_DIR "/mfiles/options.ini"), defaults); // as shipped
    }

    void saveWhereTheFolderIsReadOnly()
    {
        // The file is written in place when its folder takes no temporary file. Root ignores
        // permission bits, so the save runs as an ordinary user then.
        QTemporaryDir dir;
        const QString path = dir.filePath("options.ini");
        write(path, defaults);
        QFile::setPermissions(path, QFileDevice::ReadOther | QFileDevice::WriteOther |
                                        QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::setPermissions(dir.path(), QFileDevice::ReadOther | QFileDevice::ExeOther |
                                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const Options options{"y.txt", "20", "20", "120"};
        if (geteuid() != 0) {
            QVERIFY(saveOptions(path, options).ok);
        } else if (const pid_t child = fork(); child == 0) {
            _exit(setgid(65534) == 0 && setuid(65534) == 0 && saveOptions(path, options).ok ? 0 : 1);
        } else {
            int status = 1;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        QCOMPARE(loadOptions(path).options, options);
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
        QCOMPARE(textcodec::toWindows1251(u"кот €"), QByteArray("\xEA\xEE\xF2 \x88"));
        QCOMPARE(textcodec::toWindows1251(u"кот ä"), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(tst_options)
#include "tst_options.moc"
