#include "bench.h"

#include "common/textcodec.h"

#include <QDir>
#include <QFile>

#include <numeric>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace bench
{

bool writeBase(const QString &path, qint64 lines, Text text)
{
    QList<QByteArray> words;
    QFile shipped(QStringLiteral(ZORVIK_DATA_DIR "/mfiles/wmbase.txt"));
    if (text != Text::Ascii && shipped.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : shipped.readAll().split('\n'))
            if (!line.trimmed().isEmpty())
                words << (text == Text::Utf8
                              ? textcodec::decode(line.trimmed(), textcodec::Encoding::Windows1251).toUtf8()
                              : line.trimmed());
    }
    QFile file(path);
    if ((text != Text::Ascii && words.isEmpty()) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray chunk;
    for (qint64 i = 0; i < lines; ++i) {
        chunk += (text == Text::Ascii ? "word" + QByteArray::number(i) : words[i % words.size()]) + "\r\n";
        if (chunk.size() >= (1 << 20) && file.write(std::exchange(chunk, {})) < 0)
            return false;
    }
    return file.write(chunk) == chunk.size() && file.flush();
}

bool makeProgramDir(const QString &dir, const QString &base)
{
    const QDir shipped(QStringLiteral(ZORVIK_DATA_DIR "/mfiles"));
    if (!QDir(dir).mkpath(QStringLiteral("mfiles")))
        return false;
    for (const QString &name : shipped.entryList(QDir::Files))
        if (name != u"options.ini" &&
            !QFile::copy(shipped.filePath(name), dir + QStringLiteral("/mfiles/") + name))
            return false;
    const QByteArray options = base.toLatin1() + "\r\n50\r\n10\r\n60\r\n\r\n";
    QFile ini(dir + QStringLiteral("/mfiles/options.ini"));
    return ini.open(QIODevice::WriteOnly) && ini.write(options) == options.size();
}

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

ChildRun runChild(const QString &program, const QStringList &args)
{
    // Everything the child needs is prepared before the clock starts.
    std::vector<QByteArray> store{program.toLocal8Bit()};
    for (const QString &arg : args)
        store.push_back(arg.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &arg : store)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    ChildRun run;
    int fds[2];
    if (pipe(fds) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t pid = 0;
    run.spawnNs = monotonicNs();
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char buffer[4096];
    for (ssize_t n; rc == 0 && (n = read(fds[0], buffer, sizeof buffer)) != 0;)
        if (n > 0)
            run.out.append(buffer, n);
        else if (errno != EINTR)
            break;
    close(fds[0]);
    int status = 0;
    while (rc == 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.ok = rc == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double mean(const std::vector<double> &values)
{
    return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

RatioReporter::RatioReporter(Pairs pairs)
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular), m_pairs(std::move(pairs))
{
}

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs)
        if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
            m_ms[run.run_name.function_name].push_back(run.real_accumulated_time / double(run.iterations) *
                                                       1e3);
    ConsoleReporter::ReportRuns(runs);
}

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    std::printf("\n%-28s %5s %10s   %-28s %10s %7s\n", "measured", "reps", "mean ms", "baseline", "mean ms",
                "ratio");
    for (const auto &[measured, baseline] : m_pairs) {
        const double m = mean(m_ms[measured]), b = mean(m_ms[baseline]);
        std::printf("%-28s %5zu %10.4f   %-28s %10.4f %7.2f\n", measured.c_str(), m_ms[measured].size(), m,
                    baseline.c_str(), b, m / b);
    }
    std::fflush(stdout);
}

int runBenchmarks(int argc, char **argv, RatioReporter &reporter)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
