#pragma once

// Helpers shared by the benchmark programs: scratch program directories, generated word bases,
// a monotonic clock that every process on the machine shares, and running a child process.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace benchmark
{
class BenchmarkReporter;
}

namespace benchutil
{

// The project's data folder (data/mfiles holds the shipped word bases and pictures).
QString dataDir();

// Writes a word base of the given number of lines, "word<n>" each, ended by CR LF.
bool writeBase(const QString &path, qint64 lines);

// The settings file as the settings page saves it: base, words, memorising and recall seconds.
QByteArray optionsBytes(const QString &base, int words, int memorise, int recall);

// Makes dir a program directory: dir/mfiles with options.ini and logo.gif (copied from the
// shipped mfiles). The word base is left to the caller.
bool makeProgramDir(const QString &dir, const QByteArray &options);

// Copies a shipped file from data/mfiles into dir/mfiles.
bool copyShipped(const QString &dir, const QString &name);

// CLOCK_MONOTONIC in nanoseconds: comparable between a parent and the children it starts.
qint64 monotonicNs();

struct ChildRun {
    bool ok = false;    // started and exited with status 0
    qint64 spawnNs = 0; // just before posix_spawn
    qint64 exitNs = 0;  // just after waitpid
    QByteArray out;     // its standard output
};
// Runs program with args, the current environment plus extraEnv ("NAME=value" each), and
// collects its standard output. A child still running after timeoutMs is killed.
ChildRun runChild(const QString &program, const QStringList &args, const QStringList &extraEnv = {},
                  int timeoutMs = 30'000);

// Peak resident set size of this process in KiB (VmHWM), 0 when unknown.
qint64 peakRssKiB();

struct Stats {
    double mean = 0, median = 0, min = 0, max = 0, stddev = 0;
};
Stats stats(std::vector<double> values);

// Runs the registered Google Benchmarks through the reporter: five repetitions in random order
// unless the command line asks for repetitions, so that a slow spell of the machine does not land
// on one side of a ratio only. Returns the exit status.
int runBenchmarks(int argc, char **argv, benchmark::BenchmarkReporter &reporter);

} // namespace benchutil
