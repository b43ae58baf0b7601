// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the benchmark programs share: generated word bases and program folders, a clock that child
// processes share, running a child, and the reporter that prints each figure against its baseline.

#include <QStringList>

#include <benchmark/benchmark.h>

#include <map>
#include <numeric>
#include <unistd.h>

namespace bench
{

// A base of the given number of lines ended by CR LF: "word<n>", or the shipped Russian words
// over and over in Windows-1251 or in UTF-8.
enum class Text { Ascii, Cp1251, Utf8 };
bool writeBase(const QString &path, qint64 lines, Text text = Text::Ascii);

// Makes dir a program folder: mfiles with the shipped files, and options.ini naming the base, 50
// words, 10 s to memorise and 60 s to recall.
bool makeProgramDir(const QString &dir, const QString &base);

// CLOCK_MONOTONIC in nanoseconds: comparable between a parent and the children it starts.
qint64 monotonicNs();

struct ChildRun {
    bool ok = false;    // exited with status 0
    qint64 spawnNs = 0; // just before posix_spawn
    QByteArray out;     // its standard output
};
ChildRun runChild(const QString &program, const QStringList &args);

inline double mean(const std::vector<double> &v)
{
    return v.empty() ? 0 : std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
}

// Google Benchmark's own table, and then each measured benchmark against its baseline: the mean
// time per iteration over the repetitions of this run, and the ratio of the two.
using Pairs = std::vector<std::pair<std::string, std::string>>; // what is measured, its baseline
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    explicit RatioReporter(Pairs pairs)
        : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular), m_pairs(std::move(pairs))
    {
    }
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                m_ms[run.run_name.function_name].push_back(run.real_accumulated_time * 1e3 /
                                                           double(run.iterations));
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-28s %5s %9s   %-28s %9s %6s\n", "measured", "reps", "mean ms", "baseline", "mean ms",
                    "ratio");
        for (const auto &[measured, baseline] : m_pairs)
            std::printf("%-28s %5zu %9.4f   %-28s %9.4f %6.2f\n", measured.c_str(), m_ms[measured].size(),
                        mean(m_ms[measured]), baseline.c_str(), mean(m_ms[baseline]),
                        mean(m_ms[measured]) / mean(m_ms[baseline]));
        std::fflush(stdout);
    }

private:
    Pairs m_pairs;
    std::map<std::string, std::vector<double>> m_ms; // per benchmark, one mean per repetition
};

// Runs the registered benchmarks with the command line's options (the Makefile asks for five
// repetitions in random order, so that a slow spell of the machine does not land on one side of
// a ratio only).
inline int runBenchmarks(int argc, char **argv, RatioReporter &reporter)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
