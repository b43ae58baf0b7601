// Peak memory of the program with the largest word base against the smallest: each run is a fresh
// memory_probe process (window shown, one training start, offscreen) on a generated base of
// 1 000 000 or of 60 lines, in turn; the probe reports its peak resident set size (VmHWM).

#include "benchutil.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace
{

struct Series {
    qint64 lines;
    QString dir;
    std::map<std::string, std::vector<double>> kib; // stage -> KiB, one per run
};

bool runOnce(Series &s)
{
    const benchutil::ChildRun run = benchutil::runChild(QStringLiteral(MEMORY_PROBE), {s.dir},
                                                        {QStringLiteral("QT_QPA_PLATFORM=offscreen")});
    std::map<std::string, double> values;
    for (const QByteArray &line : run.out.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() == 2)
            values[f[0].toStdString()] = f[1].toDouble();
    }
    // Proof that the whole base was read: 50 words shown and the size level of the base.
    const double level = s.lines > 1000 ? 2 : 0;
    if (!run.ok || values["words"] != 50 || values["level"] != level) {
        std::fprintf(stderr, "%lld lines: the training did not start (output \"%s\")\n",
                     static_cast<long long>(s.lines), run.out.constData());
        return false;
    }
    for (const auto &[key, v] : values)
        s.kib[key].push_back(v);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    std::vector<Series> all;
    for (qint64 lines : {qint64(60), qint64(1'000'000)}) {
        const QString dir = QDir(scratch.path()).filePath(QStringLiteral("program%1").arg(lines));
        const QString base = QStringLiteral("base.txt");
        if (!benchutil::makeProgramDir(dir, benchutil::optionsBytes(base, 50, 10, 60)) ||
            !benchutil::writeBase(QDir(dir).filePath(QStringLiteral("mfiles/") + base), lines))
            return 1;
        all.push_back({lines, dir, {}});
    }
    for (int i = 0; i < runs; ++i) {
        for (std::size_t k = 0; k < all.size(); ++k) {
            if (!runOnce(all[(i + k) % all.size()]))
                return 1;
        }
    }

    std::printf("peak RSS (VmHWM) in KiB, mean of %d runs each, after each stage\n", runs);
    std::printf("%-12s %12s %12s %12s %12s %10s\n", "base lines", "application", "window", "start",
                "start max", "ru_maxrss");
    for (Series &s : all) {
        std::printf("%-12lld %12.0f %12.0f %12.0f %12.0f %10.0f\n", static_cast<long long>(s.lines),
                    benchutil::stats(s.kib["application"]).mean, benchutil::stats(s.kib["window"]).mean,
                    benchutil::stats(s.kib["start"]).mean, benchutil::stats(s.kib["start"]).max,
                    benchutil::stats(s.kib["maxrss"]).mean);
    }
    const double small = benchutil::stats(all[0].kib["start"]).mean;
    const double large = benchutil::stats(all[1].kib["start"]).mean;
    std::printf("growth of the peak, 1 000 000 lines against 60 lines: %+.0f KiB (%+.2f MiB); ratio %.3f\n",
                large - small, (large - small) / 1024.0, large / small);
    return 0;
}
