// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The window reset plus training start (Start in the menu, Alt+N) on the shipped base, against
// building a plain panel of 100 labels in a window of the same size; then the real length of three
// memorising phases of 10 s in a running event loop, against the 10 000 ms they should last.

#include "app/frmvaruva.h"
#include "bench.h"
#include "common/paths.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

// The widgets replaced are deleted on the clock; then the event loop runs (layout, painting), as
// it would between two clicks, untimed.
static void settle(benchmark::State &state)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.PauseTiming();
    QCoreApplication::processEvents();
    state.ResumeTiming();
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!bench::makeProgramDir(dir.path(), QStringLiteral("wmbase.txt")))
        return 1;
    paths::setDataDir(dir.path());
    frmvaruva window;
    window.setSeed(42);
    window.show();
    QWidget host;
    host.setFixedSize(537, 373);
    host.show();
    QCoreApplication::processEvents();
    // One start outside the clock: it must run (no message box would ever be answered here).
    window.startAction();
    if (!window.controls()->Timer1->isActive() || window.controls()->Label23->caption() != u"10")
        return std::fprintf(stderr, "the training did not start\n"), 1;

    benchmark::RegisterBenchmark("panel of 100 labels",
                                 [&host](benchmark::State &state) {
                                     QWidget *panel = nullptr;
                                     for (auto _ : state) {
                                         if (panel)
                                             panel->deleteLater();
                                         panel = new QWidget(&host);
                                         panel->setGeometry(0, 0, 537, 373);
                                         for (int i = 0; i < 100; ++i)
                                             (new QLabel(QStringLiteral("Метка %1").arg(i), panel))
                                                 ->setGeometry(i % 5 * 107, i / 5 * 18, 105, 16);
                                         panel->show();
                                         settle(state);
                                     }
                                     delete panel;
                                 })
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("reset + start",
                                 [&window](benchmark::State &state) {
                                     for (auto _ : state) {
                                         window.startAction();
                                         settle(state);
                                     }
                                 })
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    bench::RatioReporter reporter(bench::Pairs{{"reset + start", "panel of 100 labels"}});
    if (bench::runBenchmarks(argc, argv, reporter) != 0)
        return 1;

    // From the start to the memorising timer's stop (its tenth tick switches to recall); the
    // handler below is connected after the window's own, so it sees the timer as the tick left it.
    for (int run = 1; run <= 3; ++run) {
        QEventLoop loop;
        window.startAction();
        const qint64 started = bench::monotonicNs();
        qint64 stopped = 0;
        QTimer *timer = window.controls()->Timer1;
        QObject::connect(timer, &QTimer::timeout, &loop, [&] {
            if (!timer->isActive())
                loop.quit(), stopped = bench::monotonicNs();
        });
        QTimer::singleShot(20'000, &loop, &QEventLoop::quit); // a phase that never ends
        loop.exec();
        window.controls()->Timer2->stop();
        std::printf("memorising phase of 10 000 ms, run %d: %.3f ms\n", run, (stopped - started) / 1e6);
    }
    return 0;
}
