// The word bases, settings and pictures that ship with the program.
#include "common/textcodec.h"
#include "settings/options.h"
#include "training/wordbase.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace
{
QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
const QString mfiles = QStringLiteral(ZORVIK_DATA_DIR "/mfiles/");
} // namespace

class tst_shipped_data : public QObject
{
    Q_OBJECT
private slots:
    void wordBases_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minLines");
        QTest::addColumn<QString>("letters");
        QTest::newRow("wmbase") << "wmbase.txt" << 1100 << "^[а-я]+$";
        QTest::newRow("abstrakt") << "abstrakt.txt" << 1011 << "^[а-я]+$";
        QTest::newRow("english") << "english.txt" << 1011 << "^[a-z]+$";
    }
    void wordBases()
    {
        QFETCH(QString, name);
        QFETCH(int, minLines);
        QFETCH(QString, letters);
        const QByteArray bytes = contents(mfiles + name);
        QVERIFY(!bytes.isEmpty());
        QVERIFY(bytes.endsWith("\r\n"));
        // Every line ends in CR LF: no lone CR or LF anywhere.
        QCOMPARE(bytes.count('\r'), bytes.count('\n'));
        QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
        QCOMPARE(textcodec::detect(bytes), textcodec::Encoding::Windows1251);

        const QString text = textcodec::decode(bytes, textcodec::Encoding::Windows1251);
        QStringList words = text.split(QStringLiteral("\r\n"));
        words.removeLast();
        QVERIFY2(words.size() >= minLines, qPrintable(QString::number(words.size())));
        QCOMPARE(QSet<QString>(words.begin(), words.end()).size(), words.size());
        const QRegularExpression pattern(letters);
        for (const QString &word : words)
            QVERIFY2(pattern.match(word).hasMatch(), qPrintable(word));

        // The top base-size level is reachable.
        QCOMPARE(wordbase::rate(words.size()).level, 2);
    }

    void defaultOptions()
    {
        const QByteArray bytes = contents(mfiles + QStringLiteral("options.ini"));
        QCOMPARE(bytes, QByteArray("wmbase.txt\r\n10\r\n10\r\n60\r\n\r\n"));
        QCOMPARE(bytes, Options().toBytes());
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("logo") << mfiles + "logo.gif" << QSize(57, 57);
        for (int s : {16, 32, 48})
            QTest::newRow(qPrintable(QString::number(s)))
                << QStringLiteral(ZORVIK_DATA_DIR "/icons/zorvik-%1.png").arg(s) << QSize(s, s);
    }
    void pictures()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QImageReader reader(path);
        QCOMPARE(reader.read().size(), size);
    }
};

QTEST_GUILESS_MAIN(tst_shipped_data)
#include "tst_shipped_data.moc"
