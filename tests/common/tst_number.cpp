#include "common/number.h"

#include <QLocale>
#include <QTest>

#include <cmath>

class tst_number : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void read_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << "20" << 20.0;
        QTest::newRow("trailing letters") << "20abc" << 20.0;
        QTest::newRow("blank inside") << "1 5" << 15.0;
        QTest::newRow("tabs and line feeds") << "\t1\n0 " << 10.0;
        QTest::newRow("carriage return stops") << "1\r5" << 1.0;
        QTest::newRow("fraction") << "12.5" << 12.5;
        QTest::newRow("comma stops") << "1,5" << 1.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks only") << "  " << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("plus") << "+7" << 7.0;
        QTest::newRow("blank after sign") << "- 5" << -5.0;
        QTest::newRow("exponent") << "1e2" << 100.0;
        QTest::newRow("exponent D") << "25D-1" << 2.5;
        QTest::newRow("exponent without digits") << "3e" << 3.0;
        QTest::newRow("exponent sign without digits") << "3e+x" << 3.0;
        QTest::newRow("hexadecimal") << "&H1F" << 31.0;
        QTest::newRow("hexadecimal lower case") << "&hff" << 255.0;
        QTest::newRow("hexadecimal large") << "&HFFFFFFFF" << 4294967295.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("octal stops at 8") << "&O78" << 7.0;
        QTest::newRow("ampersand alone") << "&" << 0.0;
        QTest::newRow("ampersand other") << "&X12" << 0.0;
        QTest::newRow("NaN is no number") << "NaN" << 0.0;
        QTest::newRow("inf is no number") << "inf" << 0.0;
        QTest::newRow("underflow") << "1e-999" << 0.0;
        QTest::newRow("full-width digit is no digit") << QString::fromUtf8("\xEF\xBC\x95") << 0.0;
    }
    void read()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(number::read(text), expected);
    }

    void overflow()
    {
        QVERIFY(std::isinf(number::read(u"1e999")));
        QVERIFY(number::read(u"1e999") > 0);
        QVERIFY(number::read(u"-1e999") < 0);
        QCOMPARE(number::read(u"1e308"), 1e308);
    }

    void wholeIn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("inside") << "20" << 20;
        QTest::newRow("fraction truncated") << "12.9" << 12;
        QTest::newRow("letters after") << "20abc" << 20;
        QTest::newRow("below") << "-5" << 10;
        QTest::newRow("zero") << "abc" << 10;
        QTest::newRow("above") << "99" << 50;
        QTest::newRow("huge") << "1e308" << 50;
        QTest::newRow("overflow") << "1e999" << 50;
        QTest::newRow("negative overflow") << "-1e999" << 10;
        QTest::newRow("bounds") << "50" << 50;
    }
    void wholeIn()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(number::wholeIn(text, 10, 50), expected);
    }

    void text_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole") << 35.0 << "35";
        QTest::newRow("fraction") << 5.6 << "5,6";
        QTest::newRow("below one") << 0.5 << "0,5";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("no group separator") << 1234.5 << "1234,5";
        QTest::newRow("fifteen digits") << 650.0 / 17 << "38,2352941176471";
        QTest::newRow("hundred") << 100.0 << "100";
    }
    void text()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(number::text(value), expected);
    }
};

QTEST_GUILESS_MAIN(tst_number)
#include "tst_number.moc"
