// A thousand training starts and window resets in one process must not make it grow.
#include "support.h"

#include <QPixmapCache>
#include <QRegularExpression>

namespace
{

// The resident set of this process in KiB, or -1 where /proc does not tell it.
qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression line(QStringLiteral("^VmRSS:\\s+(\\d+) kB"),
                                  QRegularExpression::MultilineOption);
    const auto match = line.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif
#else
constexpr bool sanitized = false;
#endif

} // namespace

class tst_longrun : public QObject
{
    Q_OBJECT
private slots:
    void thousandStarts()
    {
        // The widget style keeps up to 10 MB of rendered pixmaps in QPixmapCache; that bounded cache
        // is not the program's memory, and filling it would hide a real leak.
        QPixmapCache::setCacheLimit(0);
        ScratchProgram program;
        program.writeBase("wmbase.txt", 2000);
        program.writeOptions("wmbase.txt", "50", "10", "60");
        frmvaruva w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        auto train = [&](int times) {
            for (int i = 0; i < times; ++i) {
                w.startAction();
                w.Timer1_Timer();
                if (i % 10 == 0) {
                    // Now and then a whole training: recall, results, review.
                    w.stopPhase();
                    w.Timer1_Timer();
                    typeText(w.controls()->Text4, w.controls()->Label25[0]->caption());
                    w.stopPhase();
                    w.Timer2_Timer();
                    w.Command4_Click();
                }
                processDeferredDeletes();
                QCoreApplication::processEvents();
            }
        };
        // Sanitizers keep freed memory in quarantine: there the run only looks for faults.
        const int runs = sanitized ? 100 : 1000;
        train(runs / 10); // fonts, caches and allocator pools settle first
        const qint64 before = residentKiB();
        train(runs);
        const qint64 after = residentKiB();
        QCOMPARE(w.findChildren<Form *>().size(), 1);
        if (before < 0 || sanitized)
            return;
        qInfo("resident set: %lld KiB before, %lld KiB after %d starts", before, after, runs);
        QVERIFY2(after - before < 2048, qPrintable(QString::number(after - before)));
    }
};

QTEST_MAIN(tst_longrun)
#include "tst_longrun.moc"
