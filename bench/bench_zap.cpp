// The file work of a training start (one read that counts the lines, judges the encoding and
// samples the lines) against the plainest possible look at the same file: one read counting '\n'.
// Both run on the same generated bases in the same run, and the program prints pick/line-count per
// size at the end.

#include "benchutil.h"
#include "training/wordbase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include <unistd.h>

namespace
{

constexpr int words = 50;

// What the lines hold: "word<n>" in ASCII, and, at the largest size, the shipped Russian words
// (windows-1251, as the program ships its bases) and the same words in UTF-8, since the encoding
// check costs differently for each.
enum Kind { Ascii, Cp1251, Utf8 };
const char *kindName(int kind)
{
    return kind == Ascii ? "ascii" : kind == Cp1251 ? "cp1251" : "utf-8";
}
struct Case {
    qint64 lines;
    Kind kind;
};
const std::vector<Case> cases = {
    {1'000, Ascii}, {100'000, Ascii}, {1'000'000, Ascii}, {1'000'000, Cp1251}, {1'000'000, Utf8}};

QTemporaryDir *scratch = nullptr;

QString basePath(qint64 lines, int kind = Ascii)
{
    return QDir(scratch->path()).filePath(QStringLiteral("base%1-%2.txt").arg(lines).arg(kind));
}

// The shipped base's lines repeated up to the given count.
bool writeShippedWords(const QString &path, qint64 lines, Kind kind)
{
    QFile shipped(QDir(benchutil::dataDir()).filePath(QStringLiteral("mfiles/wmbase.txt")));
    if (!shipped.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> source = shipped.readAll().split('\n');
    QList<QByteArray> list;
    for (QByteArray w : source) {
        w = w.trimmed();
        if (w.isEmpty())
            continue;
        list.append(kind == Utf8 ? textcodec::decode(w, textcodec::Encoding::Windows1251).toUtf8() : w);
    }
    QFile file(path);
    if (list.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray chunk;
    for (qint64 i = 0; i < lines; ++i) {
        chunk += list[i % list.size()];
        chunk += "\r\n";
        if (chunk.size() >= (1 << 20)) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return file.write(chunk) == chunk.size() && file.flush();
}

// The baseline: the file read once in large chunks, line feeds counted.
qint64 countLines(const QString &path)
{
    constexpr qint64 chunk = 1 << 20;
    static const auto buffer = std::make_unique<char[]>(chunk);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    qint64 lines = 0;
    for (;;) {
        const qint64 n = file.read(buffer.get(), chunk);
        if (n <= 0)
            return n < 0 ? -1 : lines;
        lines += std::count(buffer.get(), buffer.get() + n, '\n');
    }
}

void BM_lineCount(benchmark::State &state)
{
    const qint64 lines = state.range(0);
    const QString path = basePath(lines, int(state.range(1)));
    for (auto _ : state) {
        const qint64 counted = countLines(path);
        benchmark::DoNotOptimize(counted);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}

void BM_pick(benchmark::State &state)
{
    const qint64 lines = state.range(0);
    const QString path = basePath(lines, int(state.range(1)));
    std::mt19937_64 rng(20240611);
    for (auto _ : state) {
        wordbase::Pick pick = wordbase::pick(path, words, rng);
        benchmark::DoNotOptimize(pick.words.data());
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}

// Keeps every repetition's mean time per iteration, to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            const double ns = run.real_accumulated_time / double(run.iterations) * 1e9;
            const std::string &fn = run.run_name.function_name;
            (fn == "BM_pick" ? pick : count)[run.run_name.args].push_back(ns);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-10s %-7s %5s %14s %14s %8s %14s\n", "lines", "text", "reps", "pick mean us",
                    "count mean us", "ratio", "ratio min/min");
        for (const Case &c : cases) {
            const std::string key =
                "lines:" + std::to_string(c.lines) + "/text:" + std::to_string(int(c.kind));
            if (!pick.count(key) || !count.count(key))
                continue;
            const auto p = benchutil::stats(pick[key]);
            const auto b = benchutil::stats(count[key]);
            std::printf("%-10lld %-7s %5zu %14.1f %14.1f %8.2f %14.2f\n", static_cast<long long>(c.lines),
                        kindName(c.kind), pick[key].size(), p.mean / 1e3, b.mean / 1e3, p.mean / b.mean,
                        p.min / b.min);
        }
        std::printf("(ratio = pick mean / line-count mean over the repetitions of this run)\n");
        std::fflush(stdout);
    }

private:
    std::map<std::string, std::vector<double>> pick, count;
};

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary directory\n");
        return 1;
    }
    scratch = &dir;
    // The bases are written once, and each is checked: the baseline must see every line and the
    // pick must give its 50 words.
    for (const Case &c : cases) {
        const QString path = basePath(c.lines, c.kind);
        const bool written =
            c.kind == Ascii ? benchutil::writeBase(path, c.lines) : writeShippedWords(path, c.lines, c.kind);
        if (!written) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::mt19937_64 rng(1);
        const wordbase::Pick pick = wordbase::pick(path, words, rng);
        if (countLines(path) != c.lines || pick.error != wordbase::PickError::None || pick.lines != c.lines ||
            pick.words.size() != words) {
            std::fprintf(stderr, "base of %lld lines (%s): check failed\n", static_cast<long long>(c.lines),
                         kindName(c.kind));
            return 1;
        }
    }

    for (const Case &c : cases) {
        using Fn = void (*)(benchmark::State &);
        const std::pair<const char *, Fn> both[] = {{"BM_lineCount", BM_lineCount}, {"BM_pick", BM_pick}};
        for (const auto &[name, fn] : both)
            benchmark::RegisterBenchmark(name, fn)
                ->Args({c.lines, c.kind})
                ->ArgNames({"lines", "text"})
                ->UseRealTime()
                ->Unit(benchmark::kMicrosecond);
    }
    RatioReporter reporter;
    return benchutil::runBenchmarks(argc, argv, reporter);
}
