#include "common/textcodec.h"

#include <QStringEncoder>
#include <QTest>

using textcodec::Encoding;

class tst_textcodec : public QObject
{
    Q_OBJECT
    static QByteArray cp1251(const char *utf8)
    {
        return QStringEncoder("windows-1251").encode(QString::fromUtf8(utf8));
    }

private slots:
    void detect_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("ascii") << QByteArray("cat\r\n") << false;
        QTest::newRow("cyrillic 1251") << cp1251("кот\r\nёж\r\n") << false;
        QTest::newRow("cyrillic utf8") << QByteArray("кот\nёж\n") << true;
        QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF"
                                           "cat")
                             << true;
        QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80") << true;
        QTest::newRow("truncated") << QByteArray("кот\xD0") << false;
        QTest::newRow("overlong") << QByteArray("\xC0\xAF") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("beyond unicode") << QByteArray("\xF4\x90\x80\x80") << false;
    }
    void detect()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        QCOMPARE(textcodec::detect(bytes) == Encoding::Utf8, utf8);
        textcodec::Utf8Check check; // fed a byte at a time, so characters straddle the pieces
        for (char c : bytes)
            check.feed(QByteArrayView(&c, 1));
        QCOMPARE(check.valid() && check.sawMultiByte(), utf8);
    }

    void splitLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("lines");
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("crlf, blanks kept") << QByteArray(" a \r\nb\r\n") << "[ a ][b]";
        QTest::newRow("no final end") << QByteArray("a\r\nb") << "[a][b]";
        QTest::newRow("lf and lone cr") << QByteArray("a\nb\rc\r") << "[a][b][c]";
        QTest::newRow("cr cr lf, lf cr") << QByteArray("a\r\r\nb\n\rc") << "[a][][b][][c]";
    }
    void splitLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, lines);
        QString got;
        for (QByteArrayView line : textcodec::splitLines(bytes))
            got += '[' + QString::fromLatin1(line) + ']';
        QCOMPARE(got, lines);
    }

    void encodeAndDecode_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringList{"a", ""} << QByteArray("a\r\n\r\n");
        QTest::newRow("cyrillic") << QStringList{"Ёлка"} << cp1251("Ёлка\r\n");
        QTest::newRow("0x98 round-trips") << QStringList{QString(QChar(0x98))} << QByteArray("\x98\r\n");
        QTest::newRow("0x1A kept") << QStringList{"a\x1A"} << QByteArray("a\x1A\r\n");
        QTest::newRow("beyond 1251: utf8 with bom") << QStringList{"кот", "日本"}
                                                    << QByteArray("\xEF\xBB\xBF"
                                                                  "кот\r\n日本\r\n");
    }
    void encodeAndDecode()
    {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, bytes);
        QCOMPARE(textcodec::encodeLines(lines), bytes);
        QCOMPARE(textcodec::decode(bytes, textcodec::detect(bytes)), lines.join("\r\n") + "\r\n");
    }
};

QTEST_GUILESS_MAIN(tst_textcodec)
#include "tst_textcodec.moc"
