// Start-up to the first painted frame: the program (startup_zorvik, the program's main() with a
// probe) against an empty QWidget (startup_bare), each started as a fresh process on the offscreen
// platform, in turn. Times run from just before posix_spawn to the probes' clock readings. A third
// series, a QWidget with one label, shows what showing any text at all costs.

#include "benchutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace
{

struct Series {
    const char *name;
    QString program;
    QStringList args;
    std::map<std::string, std::vector<double>> ms; // stage -> ms after spawn, one per run
};

bool runOnce(Series &s, bool keep)
{
    const benchutil::ChildRun run =
        benchutil::runChild(s.program, s.args, {QStringLiteral("QT_QPA_PLATFORM=offscreen")});
    std::map<std::string, double> stages;
    for (const QByteArray &line : run.out.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() == 2)
            stages[f[0].toStdString()] = (f[1].toLongLong() - run.spawnNs) / 1e6;
    }
    if (!run.ok || !stages.count("frame")) {
        std::fprintf(stderr, "%s: failed (output \"%s\")\n", s.name, run.out.constData());
        return false;
    }
    if (keep) {
        for (const auto &[stage, ms] : stages)
            s.ms[stage].push_back(ms);
        s.ms["exit"].push_back((run.exitNs - run.spawnNs) / 1e6);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;

    // The program directory of a fresh install: the shipped mfiles as they are.
    QTemporaryDir dir;
    if (!dir.isValid() || !QDir(dir.path()).mkpath(QStringLiteral("mfiles")))
        return 1;
    for (const QString &name :
         QDir(benchutil::dataDir() + QStringLiteral("/mfiles")).entryList(QDir::Files)) {
        if (!benchutil::copyShipped(dir.path(), name))
            return 1;
    }

    Series zorvik{"zorvik", QStringLiteral(ZORVIK_PROBE), {dir.path()}, {}};
    Series bare{"bare QWidget", QStringLiteral(BARE_PROBE), {}, {}};
    Series label{"QWidget+label", QStringLiteral(BARE_PROBE), {QStringLiteral("label")}, {}};
    std::vector<Series *> all = {&zorvik, &bare, &label};

    // One start of each outside the count: the first start pays for the disk cache and the fonts.
    for (Series *s : all) {
        if (!runOnce(*s, false))
            return 1;
    }
    // The order turns round each time, so that none of them always follows the same one.
    for (int i = 0; i < runs; ++i) {
        for (std::size_t k = 0; k < all.size(); ++k) {
            if (!runOnce(*all[(i + k) % all.size()], true))
                return 1;
        }
    }

    // Each stage as the mean time after spawn at which it was reached.
    const char *stages[] = {"main", "application", "icon", "window", "show", "paint", "frame", "exit"};
    std::printf("mean ms after spawn (%d runs each)\n%-14s", runs, "");
    for (const char *stage : stages)
        std::printf(" %11s", stage);
    std::printf("\n");
    for (Series *s : all) {
        std::printf("%-14s", s->name);
        for (const char *stage : stages) {
            if (s->ms.count(stage))
                std::printf(" %11.2f", benchutil::stats(s->ms[stage]).mean);
            else
                std::printf(" %11s", "-");
        }
        std::printf("\n");
    }
    std::printf("\nprocess start to first complete frame:\n");
    for (Series *s : all) {
        const auto f = benchutil::stats(s->ms["frame"]);
        std::printf("  %-14s mean %7.2f ms  median %7.2f  min %7.2f  max %7.2f  stddev %5.2f\n", s->name,
                    f.mean, f.median, f.min, f.max, f.stddev);
    }
    const auto z = benchutil::stats(zorvik.ms["frame"]);
    const auto b = benchutil::stats(bare.ms["frame"]);
    const auto l = benchutil::stats(label.ms["frame"]);
    std::printf("ratio zorvik / bare QWidget: %.2f (means), %.2f (medians)\n", z.mean / b.mean,
                z.median / b.median);
    std::printf("ratio zorvik / QWidget+label: %.2f (means), %.2f (medians)\n", z.mean / l.mean,
                z.median / l.median);
    return 0;
}
