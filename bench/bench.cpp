// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench.h"

#include "common/textcodec.h"

#include <QDir>
#include <QFile>

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
    QByteArrayList store{program.toLocal8Bit()};
    for (const QString &arg : args)
        store << arg.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &arg : store)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    ChildRun run;
    int fds[2];
    posix_spawn_file_actions_t actions;
    if (pipe(fds) != 0 || posix_spawn_file_actions_init(&actions) != 0)
        return run;
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t pid = 0;
    run.spawnNs = monotonicNs();
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char buffer[4096];
    for (ssize_t n = 0; rc == 0 && (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        run.out.append(buffer, n);
    close(fds[0]);
    int status = 0;
    run.ok = rc == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

} // namespace bench
