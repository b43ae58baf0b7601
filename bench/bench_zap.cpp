// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The file work of a training start (one read that counts the lines, judges the encoding and
// samples 50 lines) against the fastest plain line count over the same reads of the same file.
// Both run on generated bases in the same run.

#include "bench.h"
#include "training/wordbase.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace
{

// The baseline: the file read as a training start reads it (unbuffered, in chunks of the same
// size, into a buffer allocated per call as the pass's is: a static buffer was read into about
// 10 % more slowly, which flattered the ratio), its line feeds summed a byte at a time in runs
// short enough for a byte-wide sum, which the vectoriser adds 32 at a step. The pass counts its
// line ends the same way, and both are built for the same vector widths.
ZORVIK_VECTOR_CLONES qint64 countLines(const QString &path)
{
    const auto buffer = std::unique_ptr<char[]>(new char[wordbase::chunkSize]);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    qint64 lines = 0;
    for (qint64 n = 0; (n = file.read(buffer.get(), wordbase::chunkSize)) > 0;) {
        for (qint64 i = 0; i < n; i += 240) {
            const char *p = buffer.get() + i;
            const qint64 run = std::min<qint64>(n - i, 240);
            quint8 sum = 0;
            for (qint64 j = 0; j < run; ++j)
                sum += p[j] == '\n';
            lines += sum;
        }
    }
    return lines;
}

void count(benchmark::State &state, const QString &path)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(countLines(path));
}

void pick(benchmark::State &state, const QString &path)
{
    std::mt19937_64 rng(20240611);
    for (auto _ : state)
        benchmark::DoNotOptimize(wordbase::pick(path, 50, rng).words.data());
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    bench::Pairs pairs;
    const std::pair<std::string, void (*)(benchmark::State &, const QString &)> measured[] = {
        {"count ", count}, {"pick ", pick}};
    using enum bench::Text;
    const std::tuple<qint64, bench::Text, const char *> cases[] = {{1'000, Ascii, "ascii"},
                                                                   {100'000, Ascii, "ascii"},
                                                                   {1'000'000, Ascii, "ascii"},
                                                                   {1'000'000, Cp1251, "cp1251"},
                                                                   {1'000'000, Utf8, "utf-8"}};
    for (const auto &[lines, text, textName] : cases) {
        const std::string name = std::to_string(lines) + ' ' + textName;
        const QString path = dir.filePath(QString::fromStdString(name));
        // Each base is checked: the count sees every line, and the pick gives its 50 words.
        std::mt19937_64 rng(1);
        if (!bench::writeBase(path, lines, text) || countLines(path) != lines ||
            wordbase::pick(path, 50, rng).words.size() != 50)
            return std::fprintf(stderr, "base of %s lines: check failed\n", name.c_str()), 1;
        for (const auto &[verb, function] : measured)
            benchmark::RegisterBenchmark((verb + name).c_str(), function, path)
                ->UseRealTime()
                ->Unit(benchmark::kMicrosecond);
        pairs.emplace_back("pick " + name, "count " + name);
    }
    bench::RatioReporter reporter(pairs);
    return bench::runBenchmarks(argc, argv, reporter);
}
