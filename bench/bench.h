#pragma once

// What the benchmark programs share: generated word bases and program folders, a clock that child
// processes share, running a child, and the reporter that prints each figure against its baseline.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench
{

// What the lines of a generated base hold: "word<n>", or the shipped Russian words over and over
// in Windows-1251 or in UTF-8.
enum class Text { Ascii, Cp1251, Utf8 };

// Writes a base of the given number of lines, each ended by CR LF.
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

double mean(const std::vector<double> &values);

// Google Benchmark's own table, and then each measured benchmark against its baseline: the mean
// time per iteration over the repetitions of this run, and the ratio of the two.
using Pairs = std::vector<std::pair<std::string, std::string>>; // what is measured, its baseline
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    explicit RatioReporter(Pairs pairs);
    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

private:
    Pairs m_pairs;
    std::map<std::string, std::vector<double>> m_ms; // per benchmark, one mean per repetition
};

// Runs the registered benchmarks with the command line's options (the Makefile asks for five
// repetitions in random order, so that a slow spell of the machine does not land on one side of
// a ratio only).
int runBenchmarks(int argc, char **argv, RatioReporter &reporter);

} // namespace bench
