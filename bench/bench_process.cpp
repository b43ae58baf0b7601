// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up and memory, each run a fresh process on the offscreen platform (see probe.cpp), the
// series in turn so that none always follows the same one:
// - the time from just before the program is started to its first complete frame, against an
//   empty QWidget and a QWidget with one label, on a program folder with the shipped files;
// - the peak resident set after a training start on a base of 1 000 000 lines, against one of 60.

#include "bench.h"

#include <QTemporaryDir>

#include <cstdlib>

namespace
{

struct Series {
    const char *name;
    const char *program;
    QStringList args;
    int level; // the base-size level a training start must show, -1 for no training
    std::vector<double> frameMs = {}, peakKiB = {};
};

bool runOnce(Series &s, bool keep)
{
    const bench::ChildRun run = bench::runChild(QString::fromLocal8Bit(s.program), s.args);
    std::map<QByteArray, qint64> values;
    for (const QByteArray &line : run.out.split('\n'))
        values[line.left(line.indexOf(' '))] = line.mid(line.indexOf(' ') + 1).toLongLong();
    // A training start must have shown its 50 words, on a base of the expected size.
    if (!run.ok || !values.count("frame") ||
        (s.level >= 0 && (values["words"] != 50 || values["level"] != s.level)))
        return std::fprintf(stderr, "%s: failed (output \"%s\")\n", s.name, run.out.constData()), false;
    if (keep)
        s.frameMs.push_back((values["frame"] - run.spawnNs) / 1e6),
            s.peakKiB.push_back(double(values["peak"]));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir dir;
    const QString shipped = dir.filePath("shipped"), small = dir.filePath("60"),
                  large = dir.filePath("1000000");
    if (!bench::makeProgramDir(shipped, "wmbase.txt") || !bench::makeProgramDir(small, "base.txt") ||
        !bench::makeProgramDir(large, "base.txt") || !bench::writeBase(small + "/mfiles/base.txt", 60) ||
        !bench::writeBase(large + "/mfiles/base.txt", 1'000'000))
        return 1;
    Series all[] = {{"zorvik", PROBE, {shipped}, -1},
                    {"empty QWidget", BARE_PROBE, {}, -1},
                    {"QWidget with a label", BARE_PROBE, {"label"}, -1},
                    {"60-line base", PROBE, {small}, 0},
                    {"1 000 000-line base", PROBE, {large}, 2}};
    // One run of each outside the count pays for the disk cache and the fonts; the order turns
    // round each time.
    for (int i = -1; i < runs; ++i)
        for (std::size_t k = 0; k < std::size(all); ++k)
            if (!runOnce(all[(i + 1 + k) % std::size(all)], i >= 0))
                return 1;

    std::printf("process start to first complete frame, mean of %d runs:\n", runs);
    for (const Series &s : {all[0], all[1], all[2]})
        std::printf("  %-22s %8.2f ms   zorvik / this %.2f\n", s.name, bench::mean(s.frameMs),
                    bench::mean(all[0].frameMs) / bench::mean(s.frameMs));
    std::printf("peak resident set after a training start, mean of %d runs:\n", runs);
    for (const Series &s : {all[3], all[4]})
        std::printf("  %-22s %8.0f KiB\n", s.name, bench::mean(s.peakKiB));
    std::printf("  growth %+.0f KiB\n", bench::mean(all[4].peakKiB) - bench::mean(all[3].peakKiB));
    return 0;
}
