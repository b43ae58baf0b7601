#include "common/number.h"
#include "results/score.h"

#include <QLocale>
#include <QTest>

class tst_score : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void captions_data()
    {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("N");
        QTest::addColumn<double>("M");
        QTest::addColumn<double>("R");
        QTest::addColumn<double>("B");
        QTest::addColumn<QStringList>("captions"); // words, memorise, recall, total
        QTest::newRow("seven of ten")
            << 7.0 << 10.0 << 10.0 << 60.0 << 1.0 << QStringList{"35", "5,6", "1,12", "42,72"};
        QTest::newRow("all of ten") << 10.0 << 10.0 << 10.0 << 60.0 << 0.0
                                    << QStringList{"50", "8", "1,6", "59,6"};
        QTest::newRow("perfect") << 50.0 << 50.0 << 10.0 << 60.0 << 2.0
                                 << QStringList{"50", "40", "8", "100"};
        QTest::newRow("none") << 0.0 << 10.0 << 10.0 << 60.0 << 2.0 << QStringList{"0", "0", "0", "2"};
        QTest::newRow("long fractions")
            << 13.0 << 17.0 << 30.0 << 180.0 << 1.0
            << QStringList{"38,2352941176471", "3,46666666666667", "0,693333333333333", "43,3952941176471"};
        QTest::newRow("zero divisors") << 5.0 << 0.0 << 0.0 << 0.0 << 1.0 << QStringList{"0", "0", "0", "1"};
    }
    void captions()
    {
        QFETCH(double, F);
        QFETCH(double, N);
        QFETCH(double, M);
        QFETCH(double, R);
        QFETCH(double, B);
        QFETCH(QStringList, captions);
        const score::Points p = score::compute({F, N, M, R, B});
        QCOMPARE(number::text(p.words), captions[0]);
        QCOMPARE(number::text(p.memorise), captions[1]);
        QCOMPARE(number::text(p.recall), captions[2]);
        QCOMPARE(number::text(p.total), captions[3]);
    }
};

QTEST_GUILESS_MAIN(tst_score)
#include "tst_score.moc"
