#include "common/textcodec.h"

#include <QStringEncoder>
#include <QTest>

using textcodec::Encoding;

Q_DECLARE_METATYPE(textcodec::Encoding)

namespace
{
QByteArray cp1251(const char *utf8)
{
    // "кот" and friends, spelled out in Windows-1251 bytes.
    QStringEncoder encoder("windows-1251");
    return encoder.encode(QString::fromUtf8(utf8));
}
} // namespace

class tst_textcodec : public QObject
{
    Q_OBJECT
private slots:
    void detect_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("expected");
        QTest::newRow("ascii") << QByteArray("cat\r\ndog\r\n") << Encoding::Windows1251;
        QTest::newRow("cyrillic 1251") << cp1251("кот\r\nёж\r\n") << Encoding::Windows1251;
        QTest::newRow("cyrillic utf8") << QByteArray("кот\nёж\n") << Encoding::Utf8;
        QTest::newRow("bom ascii") << QByteArray("\xEF\xBB\xBF"
                                                 "cat")
                                   << Encoding::Utf8;
        QTest::newRow("truncated utf8") << QByteArray("кот\xD0") << Encoding::Windows1251;
        QTest::newRow("overlong") << QByteArray("\xC0\xAF") << Encoding::Windows1251;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << Encoding::Windows1251;
        QTest::newRow("beyond unicode") << QByteArray("\xF4\x90\x80\x80") << Encoding::Windows1251;
        QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80") << Encoding::Utf8;
        QTest::newRow("byte 0x98") << QByteArray("a\x98") << Encoding::Windows1251;
    }
    void detect()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Encoding, expected);
        QCOMPARE(textcodec::detect(bytes), expected);
    }

    void utf8CheckAcrossPieces()
    {
        // A character split between two reads is still valid.
        const QByteArray word("ёж");
        textcodec::Utf8Check check;
        check.feed(QByteArrayView(word).first(1));
        QVERIFY(!check.valid());
        check.feed(QByteArrayView(word).sliced(1));
        QVERIFY(check.valid());
        QVERIFY(check.sawMultiByte());
    }

    void splitLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QByteArray>>("lines");
        using L = QList<QByteArray>;
        QTest::newRow("empty") << QByteArray() << L{};
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << L{"a", "b"};
        QTest::newRow("no final end") << QByteArray("a\r\nb") << L{"a", "b"};
        QTest::newRow("lf") << QByteArray("a\nb\n") << L{"a", "b"};
        QTest::newRow("lone cr") << QByteArray("a\rb\r") << L{"a", "b"};
        QTest::newRow("cr cr lf") << QByteArray("a\r\r\nb") << L{"a", "", "b"};
        QTest::newRow("lf cr") << QByteArray("a\n\rb") << L{"a", "", "b"};
        QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << L{"", ""};
        QTest::newRow("blanks kept") << QByteArray(" a \r\n") << L{" a "};
    }
    void splitLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QByteArray>, lines);
        QList<QByteArray> got;
        for (QByteArrayView line : textcodec::splitLines(bytes))
            got.append(line.toByteArray());
        QCOMPARE(got, lines);
    }

    void decode()
    {
        QCOMPARE(textcodec::decode(cp1251("Ёлка"), Encoding::Windows1251), QString::fromUtf8("Ёлка"));
        QCOMPARE(textcodec::decode(QByteArray("\xEF\xBB\xBF"
                                              "кот"),
                                   Encoding::Utf8),
                 QString::fromUtf8("кот"));
        // 0x98 has no character in Windows-1251 and must survive a round trip.
        const QString odd = textcodec::decode(QByteArray("\x98"), Encoding::Windows1251);
        QCOMPARE(odd, QString(QChar(0x98)));
        QCOMPARE(textcodec::encodeLines({odd}), QByteArray("\x98\r\n"));
    }

    void encodeLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("none") << QStringList{} << QByteArray();
        QTest::newRow("ascii") << QStringList{"a", ""} << QByteArray("a\r\n\r\n");
        QTest::newRow("cyrillic") << QStringList{QString::fromUtf8("кот")} << cp1251("кот\r\n");
        QTest::newRow("not in 1251 becomes utf8 with bom")
            << QStringList{QString::fromUtf8("кот"), QString::fromUtf8("日本")}
            << QByteArray("\xEF\xBB\xBF"
                          "кот\r\n日本\r\n");
        QTest::newRow("control character 0x1A kept")
            << QStringList{QStringLiteral("a\x1A")} << QByteArray("a\x1A\r\n");
    }
    void encodeLines()
    {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, bytes);
        QCOMPARE(textcodec::encodeLines(lines), bytes);
    }
};

QTEST_GUILESS_MAIN(tst_textcodec)
#include "tst_textcodec.moc"
