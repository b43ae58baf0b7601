// The real length of a memorising phase: a training with 10 s of memorising is started in a
// running event loop, and the wall time from the start returning to the memorising timer stopping
// (its tenth tick switches to recall) is compared with the 10 000 ms it should last.

#include "app/frmvaruva.h"
#include "benchutil.h"
#include "common/paths.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    constexpr int memoriseSeconds = 10;
    constexpr double expectedMs = memoriseSeconds * 1000.0;

    QTemporaryDir dir;
    const QString base = QStringLiteral("wmbase.txt");
    if (!dir.isValid() ||
        !benchutil::makeProgramDir(dir.path(), benchutil::optionsBytes(base, 50, memoriseSeconds, 60)) ||
        !benchutil::copyShipped(dir.path(), base)) {
        std::fprintf(stderr, "cannot make the program directory\n");
        return 1;
    }
    paths::setDataDir(dir.path());

    frmvaruva w;
    w.show();
    QCoreApplication::processEvents();

    std::printf("%-4s %12s %10s %12s %12s\n", "run", "phase ms", "error ms", "ticks", "worst tick ms");
    std::vector<double> errors;
    for (int run = 1; run <= runs; ++run) {
        QEventLoop loop;
        w.startAction();
        const qint64 started = benchutil::monotonicNs();
        QTimer *timer = w.controls()->Timer1;
        if (!timer->isActive()) {
            std::fprintf(stderr, "the training did not start\n");
            return 1;
        }
        qint64 stopped = 0;
        qint64 previous = started;
        double worstTick = 0;
        int ticks = 0;
        // Connected after the window's own handler, so this sees the timer as the tick left it.
        QObject::connect(timer, &QTimer::timeout, &loop, [&] {
            const qint64 now = benchutil::monotonicNs();
            ++ticks;
            worstTick = std::max(worstTick, std::abs((now - previous) / 1e6 - 1000.0));
            previous = now;
            if (!timer->isActive()) {
                stopped = now;
                loop.quit();
            }
        });
        // A phase that never ends must not hang the run.
        QTimer::singleShot((memoriseSeconds + 10) * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        if (!stopped) {
            std::fprintf(stderr, "run %d: the memorising timer did not stop\n", run);
            return 1;
        }
        const double phaseMs = (stopped - started) / 1e6;
        errors.push_back(phaseMs - expectedMs);
        std::printf("%-4d %12.3f %+10.3f %12d %12.3f\n", run, phaseMs, phaseMs - expectedMs, ticks,
                    worstTick);
        std::fflush(stdout);
        // The recall phase is not part of this: a new start resets it.
        w.controls()->Timer2->stop();
    }
    const auto s = benchutil::stats(errors);
    double worst = 0;
    for (double e : errors)
        worst = std::max(worst, std::abs(e));
    std::printf("error against %.0f ms: mean %+.3f ms, worst |error| %.3f ms over %d runs\n", expectedMs,
                s.mean, worst, runs);
    return 0;
}
