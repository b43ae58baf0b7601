// The window reset plus training start (Start in the menu, Alt+N) on the shipped base, against
// building and throwing away a plain panel of 100 labels in the same window-sized host. Both run
// in the same process on the offscreen platform; the program prints the means and the ratio.

#include "app/frmvaruva.h"
#include "benchutil.h"
#include "common/paths.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{

frmvaruva *window = nullptr;
QWidget *host = nullptr;

void deferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Between iterations the event loop gets to run (layout, painting), as it would between two
// clicks, so that no iteration inherits another's pending work. That part is not timed.
void settle(benchmark::State &state)
{
    state.PauseTiming();
    QCoreApplication::processEvents();
    state.ResumeTiming();
}

void BM_panelOf100Labels(benchmark::State &state)
{
    const bool paint = state.range(0) != 0;
    QWidget *panel = nullptr;
    for (auto _ : state) {
        if (panel)
            panel->deleteLater();
        panel = new QWidget(host);
        panel->setGeometry(0, 0, 537, 373);
        for (int i = 0; i < 100; ++i) {
            auto *label = new QLabel(QStringLiteral("Метка %1").arg(i), panel);
            label->setGeometry((i % 5) * 107, (i / 5) * 18, 105, 16);
        }
        panel->show();
        deferredDeletes();
        if (paint)
            host->repaint();
        settle(state);
    }
    delete panel;
}

void BM_startAction(benchmark::State &state)
{
    const bool paint = state.range(0) != 0;
    for (auto _ : state) {
        window->startAction();
        deferredDeletes();
        if (paint)
            window->repaint();
        if (!window->controls()->Timer1->isActive()) {
            state.SkipWithError("the training did not start");
            break;
        }
        settle(state);
    }
}

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                times[run.benchmark_name()].push_back(run.real_accumulated_time / double(run.iterations) *
                                                      1e3);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-24s %5s %10s %10s %10s %10s %10s %8s\n", "", "reps", "reset ms", "median", "min",
                    "panel ms", "median", "ratio");
        for (const char *arg : {"0", "1"}) {
            const std::string a = std::string("BM_startAction/paint:") + arg + "/real_time";
            const std::string b = std::string("BM_panelOf100Labels/paint:") + arg + "/real_time";
            if (!times.count(a) || !times.count(b))
                continue;
            const auto s = benchutil::stats(times[a]);
            const auto p = benchutil::stats(times[b]);
            std::printf("%-24s %5zu %10.3f %10.3f %10.3f %10.3f %10.3f %8.2f\n",
                        *arg == '0' ? "reset + start" : "reset + start + repaint", times[a].size(), s.mean,
                        s.median, s.min, p.mean, p.median, s.mean / p.mean);
        }
        std::printf("(ms per iteration over the repetitions of this run; ratio = reset mean / panel mean)\n");
        std::fflush(stdout);
    }

private:
    std::map<std::string, std::vector<double>> times;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // A scratch program directory: the shipped base and logo; 50 words, 10 s to memorise, 60 s to
    // recall.
    QTemporaryDir dir;
    const QString base = QStringLiteral("wmbase.txt");
    if (!dir.isValid() || !benchutil::makeProgramDir(dir.path(), benchutil::optionsBytes(base, 50, 10, 60)) ||
        !benchutil::copyShipped(dir.path(), base)) {
        std::fprintf(stderr, "cannot make the program directory\n");
        return 1;
    }
    paths::setDataDir(dir.path());

    frmvaruva w;
    w.setSeed(42);
    w.show();
    window = &w;
    QWidget h;
    h.setFixedSize(537, 373);
    h.show();
    host = &h;
    QCoreApplication::processEvents();

    // One start outside the clock: it must run (no message box would ever be answered here).
    w.startAction();
    deferredDeletes();
    QCoreApplication::processEvents();
    if (!w.controls()->Timer1->isActive() || w.controls()->Label23->caption() != u"10") {
        std::fprintf(stderr, "the training did not start\n");
        return 1;
    }
    std::printf("controls in one reset: %lld widgets, %lld objects\n",
                static_cast<long long>(w.controls()->findChildren<QWidget *>().size()),
                static_cast<long long>(w.controls()->findChildren<QObject *>().size()));

    for (int paint : {0, 1}) {
        benchmark::RegisterBenchmark("BM_panelOf100Labels", BM_panelOf100Labels)
            ->Arg(paint)
            ->ArgName("paint")
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_startAction", BM_startAction)
            ->Arg(paint)
            ->ArgName("paint")
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    RatioReporter reporter;
    return benchutil::runBenchmarks(argc, argv, reporter);
}
