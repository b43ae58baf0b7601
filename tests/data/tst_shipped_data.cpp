// The word bases, settings and pictures that ship with the program.
#include "common/textcodec.h"
#include "settings/options.h"
#include "training/wordbase.h"

#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include "rows.h"

class tst_shipped_data : public QObject
{
    Q_OBJECT
private slots:
    void wordBases_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minLines");
        QTest::addColumn<QString>("letters");
        addRow("wmbase", "wmbase.txt", 1100, "^[а-я]+$"); // no ё: hard to type quickly
        addRow("abstrakt", "abstrakt.txt", 1011, "^[а-я]+$");
        addRow("english", "english.txt", 1011, "^[a-z]+$");
    }
    void wordBases()
    {
        QFETCH(QString, name);
        QFETCH(int, minLines);
        QFETCH(QString, letters);
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

    void optionsAndPictures()
    {
        QFile options(ZORVIK_DATA_DIR "/mfiles/options.ini");
        QVERIFY(options.open(QIODevice::ReadOnly));
        QCOMPARE(options.readAll(), Options().toBytes());
        QCOMPARE(QImageReader(ZORVIK_DATA_DIR "/mfiles/logo.gif").read().size(), QSize(57, 57));
        for (int size : {16, 32, 48})
            QCOMPARE(QImageReader(QString(ZORVIK_DATA_DIR "/icons/zorvik-%1.png").arg(size)).read().size(),
                     QSize(size, size));
    }
};

QTEST_GUILESS_MAIN(tst_shipped_data)
#include "tst_shipped_data.moc"
