#include "common/number.h"
#include "results/score.h"

#include <QLocale>
#include <QTest>

#include "rows.h"

#include <cmath>

// Columns: text, value, whole (truncated and clamped into 10..50).
using ReadRow = std::tuple<QString, double, int>;
// Columns: inputs (F N M R B), captions (words memorise recall total).
using ScoreRow = std::tuple<QList<double>, QString>;

class tst_number : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void read_data()
    {
        columns<ReadRow>();
        const std::tuple<const char *, double, int> rows[] = {
            {"20abc", 20, 20},
            {"1 5", 15, 15},
            {"\t1\n0 ", 10, 10},
            {"1\r5", 1, 10},
            {"12.9", 12.9, 12},
            {"1,5", 1, 10},
            {"1.2.3", 1.2, 10},
            {".5", 0.5, 10},
            {"abc", 0, 10},
            {"", 0, 10},
            {"-", 0, 10},
            {"- 5", -5, 10},
            {"+70", 70, 50},
            {"1e2", 100, 50},
            {"25D-1", 2.5, 10},
            {"3e", 3, 10},
            {"3e+x", 3, 10},
            {"&H1F", 31, 31},
            {"&HaA", 170, 50},
            {"&hff", 255, 50},
            {"&HFFFFFFFF", 4294967295.0, 50},
            {"&O17", 15, 15},
            {"&O78", 7, 10},
            {"&X12", 0, 10},
            {"NaN", 0, 10},
            {"1e-999", 0, 10},
            {"1e308", 1e308, 50},
            {"\xEF\xBC\x95", 0, 10}, // a full-width digit
        };
        for (const auto &[text, value, whole] : rows)
            addRow(text, QString::fromUtf8(text), value, whole);
    }
    void read()
    {
        const auto [text, value, whole] = fetch<ReadRow>();
        QCOMPARE(number::read(text), value);
        QCOMPARE(number::wholeIn(text, 10, 50), whole);
    }

    void overflow()
    {
        QVERIFY(std::isinf(number::read(u"1e999")) && number::read(u"-1e999") < 0);
        QCOMPARE(number::wholeIn(u"1e999", 10, 50), 50);
        QCOMPARE(number::wholeIn(u"-1e999", 10, 50), 10);
        QCOMPARE(number::text(1234.5), "1234,5"); // no group separator
    }

    // The score formulas and their text under a Russian locale.
    void score_data()
    {
        columns<ScoreRow>();
        addRow("7 of 10", QList<double>{7, 10, 10, 60, 1}, "35 5,6 1,12 42,72");
        addRow("all of 10", QList<double>{10, 10, 10, 60, 0}, "50 8 1,6 59,6");
        addRow("perfect", QList<double>{50, 50, 10, 60, 2}, "50 40 8 100");
        addRow("none", QList<double>{0, 10, 10, 60, 2}, "0 0 0 2");
        addRow("15 digits", QList<double>{13, 17, 30, 180, 1},
               "38,2352941176471 3,46666666666667 0,693333333333333 43,3952941176471");
        addRow("zero divisors", QList<double>{5, 0, 0, 0, 1}, "0 0 0 1");
    }
    void score()
    {
        const auto [inputs, captions] = fetch<ScoreRow>();
        const score::Points p = score::compute({inputs[0], inputs[1], inputs[2], inputs[3], inputs[4]});
        QCOMPARE(QStringList({number::text(p.words), number::text(p.memorise), number::text(p.recall),
                              number::text(p.total)})
                     .join(' '),
                 captions);
    }
};

QTEST_GUILESS_MAIN(tst_number)
#include "tst_number.moc"
