#include "benchutil.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <numeric>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace benchutil
{

QString dataDir()
{
    return QStringLiteral(ZORVIK_DATA_DIR);
}

bool writeBase(const QString &path, qint64 lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray chunk;
    chunk.reserve(1 << 20);
    for (qint64 i = 0; i < lines; ++i) {
        chunk += "word";
        chunk += QByteArray::number(i);
        chunk += "\r\n";
        if (chunk.size() >= (1 << 20) - 64) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return file.write(chunk) == chunk.size() && file.flush();
}

QByteArray optionsBytes(const QString &base, int words, int memorise, int recall)
{
    return base.toLatin1() + "\r\n" + QByteArray::number(words) + "\r\n" + QByteArray::number(memorise) +
           "\r\n" + QByteArray::number(recall) + "\r\n\r\n";
}

bool copyShipped(const QString &dir, const QString &name)
{
    const QString target = QDir(dir).filePath(QStringLiteral("mfiles/") + name);
    QFile::remove(target);
    return QFile::copy(QDir(dataDir()).filePath(QStringLiteral("mfiles/") + name), target);
}

bool makeProgramDir(const QString &dir, const QByteArray &options)
{
    if (!QDir(dir).mkpath(QStringLiteral("mfiles")))
        return false;
    QFile ini(QDir(dir).filePath(QStringLiteral("mfiles/options.ini")));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate) || ini.write(options) != options.size())
        return false;
    ini.close();
    return copyShipped(dir, QStringLiteral("logo.gif"));
}

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

ChildRun runChild(const QString &program, const QStringList &args, const QStringList &extraEnv, int timeoutMs)
{
    ChildRun run;
    // Everything the child needs is prepared before the clock starts.
    std::vector<QByteArray> argStore{program.toLocal8Bit()};
    for (const QString &a : args)
        argStore.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<QByteArray> envStore;
    for (const QString &e : extraEnv)
        envStore.push_back(e.toLocal8Bit());
    std::vector<char *> envp;
    for (char **e = environ; *e; ++e) {
        const char *eq = std::strchr(*e, '=');
        const QByteArray name(*e, eq ? eq - *e + 1 : qsizetype(std::strlen(*e)));
        const bool overridden = std::any_of(envStore.begin(), envStore.end(),
                                            [&](const QByteArray &x) { return x.startsWith(name); });
        if (!overridden)
            envp.push_back(*e);
    }
    for (QByteArray &e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);

    pid_t pid = 0;
    run.spawnNs = monotonicNs();
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return run;
    }
    // A child that hangs is killed after timeoutMs, and the run counts as failed.
    char buffer[4096];
    const qint64 deadline = run.spawnNs + qint64(timeoutMs) * 1'000'000;
    bool killed = false;
    for (;;) {
        const qint64 left = (deadline - monotonicNs()) / 1'000'000;
        pollfd pfd{fds[0], POLLIN, 0};
        const int ready = left > 0 ? poll(&pfd, 1, int(left)) : 0;
        if (ready == 0) {
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            run.out.append(buffer, n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.exitNs = monotonicNs();
    run.ok = !killed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

qint64 peakRssKiB()
{
    // A /proc file tells no size: read it to its end rather than asking atEnd().
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

Stats stats(std::vector<double> v)
{
    Stats s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.min = v.front();
    s.max = v.back();
    s.mean = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
    s.median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    double sq = 0;
    for (double x : v)
        sq += (x - s.mean) * (x - s.mean);
    s.stddev = v.size() > 1 ? std::sqrt(sq / double(v.size() - 1)) : 0.0;
    return s;
}

int runBenchmarks(int argc, char **argv, benchmark::BenchmarkReporter &reporter)
{
    static std::string repetitions = "--benchmark_repetitions=5";
    static std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::vector<char *> args(argv, argv + argc);
    bool asked = false;
    for (int i = 1; i < argc; ++i)
        asked = asked || std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    if (!asked) {
        args.push_back(repetitions.data());
        args.push_back(interleave.data());
    }
    int n = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&n, args.data());
    if (benchmark::ReportUnrecognizedArguments(n, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace benchutil
