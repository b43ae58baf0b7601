// A thousand training starts and window resets in one process must not make it grow.
#include "support.h"

#include <QPixmapCache>

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true; // freed memory waits in quarantine: only look for faults
#else
constexpr bool sanitized = false;
#endif

namespace
{
qint64 residentKiB() // -1 where /proc does not tell
{
    QFile status("/proc/self/status");
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = text.indexOf("VmRSS:");
    return at < 0 ? -1 : text.mid(at + 6, text.indexOf("kB", at) - at - 6).trimmed().toLongLong();
}
} // namespace

class tst_longrun : public QObject, WindowTest
{
    Q_OBJECT
private slots:
    void thousandStarts()
    {
        // The style keeps up to 10 MB of rendered pixmaps; that bounded cache would hide a leak.
        QPixmapCache::setCacheLimit(0);
        open(2000);
        program->writeOptions("wmbase.txt", "50", "10", "60");
        auto train = [&](int times) {
            for (int i = 0; i < times; ++i) {
                w->startAction();
                if (i % 10 == 0) { // now and then a whole training: recall, results, review
                    memorise();
                    typeText(f()->Text4, f()->Label25[0]->caption());
                    w->stopPhase();
                    w->Timer2_Timer();
                    w->Command4_Click();
                }
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                QCoreApplication::processEvents();
            }
        };
        const int runs = sanitized ? 100 : 1000;
        train(runs / 10); // fonts and allocator pools settle first
        const qint64 before = residentKiB();
        train(runs);
        QCOMPARE(w->findChildren<Form *>().size(), 2); // the controls in use and the ones replaced last
        const qint64 growth = residentKiB() - before;
        qInfo("resident set grew by %lld KiB over %d starts", growth, runs);
        if (before >= 0 && !sanitized)
            QVERIFY(growth < 2048);
        close();
    }
};

QTEST_MAIN(tst_longrun)
#include "tst_longrun.moc"
