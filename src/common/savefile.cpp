// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "savefile.h"

#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace savefile
{

namespace
{

const QString isLink = QStringLiteral("это символическая ссылка");
const QString isFolder = QStringLiteral("на месте файла находится папка");
const QString notAFile = QStringLiteral("это не обычный файл");
const QByteArray temporaryPrefix = ".zorvik-";

Result failed(const QString &reason)
{
    return {false, reason};
}

#ifdef Q_OS_UNIX

// Qt's own error texts are English; these are the failures a user can mend.
Result failed(int error, const QString &path)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return failed(QStringLiteral("нет места на диске"));
    case EROFS:
        return failed(QStringLiteral("диск доступен только для чтения"));
    case EACCES:
    case EPERM: // a new file in the folder or a rename there is refused, whatever the file allows
        return failed(QStringLiteral("нет прав на запись в папку %1")
                          .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    case ENOENT:
    case ENOTDIR:
        return failed(QStringLiteral("папка %1 не найдена")
                          .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    case EISDIR:
        return failed(isFolder);
    case ELOOP:
        return failed(isLink);
    default:
        return failed(QStringLiteral("ошибка записи"));
    }
}

// Why what stands at the name, no regular file, must not be written.
Result refusal(const struct stat &info)
{
    if (S_ISLNK(info.st_mode))
        return failed(isLink);
    if (S_ISDIR(info.st_mode))
        return failed(isFolder);
    return failed(notAFile);
}

bool writeAll(int fd, QByteArrayView bytes, off_t offset)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, size_t(bytes.size() - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            errno = n == 0 ? ENOSPC : errno;
            return false;
        }
        done += n;
    }
    return true;
}

// A new file beside the target, under a name nobody has: O_EXCL creates it or fails, and never
// follows a link someone put there. Its contents are synced, so that a rename publishes them whole.
// The name is hidden and holds no ".txt": one that a kill leaves behind is no word base, and a later
// start removes it (removeStale). The file stays open and locked until it is published or removed,
// so that a second instance's start never removes it while it is being written.
class Temporary
{
public:
    Temporary(const QByteArray &target, QByteArrayView bytes, mode_t mode)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_name = target.left(target.lastIndexOf('/') + 1) + temporaryPrefix +
                     QByteArray::number(QRandomGenerator::global()->generate64(), 36);
            m_fd = ::open(m_name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            if (m_fd >= 0 || errno != EEXIST)
                break;
        }
        if (m_fd < 0) {
            m_error = errno;
            m_name.clear();
            return;
        }
        // A file system without locks still takes the file; only the clean-up is less sure then.
        (void)::flock(m_fd, LOCK_EX | LOCK_NB);
        if (!writeAll(m_fd, bytes, 0) || ::fsync(m_fd) != 0)
            m_error = errno;
    }
    ~Temporary()
    {
        if (!m_name.isEmpty())
            ::unlink(m_name.constData());
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Q_DISABLE_COPY(Temporary)

    int error() const { return m_error; }
    const char *name() const { return m_name.constData(); }
    // The file bears the target's name now.
    void published() { m_name.clear(); }

private:
    QByteArray m_name;
    int m_fd = -1;
    int m_error = 0;
};

// Gives the temporary file the target's name if nothing is there yet, where the file system has no
// hard links (vfat, exFAT). Two first starts copy the same bytes, so if one puts its copy there
// between the other's look and its rename, nothing is lost.
Result publishIfFree(Temporary &temporary, const QByteArray &name, const QString &path)
{
    if (::renameat2(AT_FDCWD, temporary.name(), AT_FDCWD, name.constData(), RENAME_NOREPLACE) == 0) {
        temporary.published();
        return {true, {}};
    }
    if (errno == EEXIST)
        return {true, {}};
    if (errno != EINVAL && errno != ENOSYS) // a file system or kernel without the flag
        return failed(errno, path);
    struct stat info {
    };
    if (::lstat(name.constData(), &info) == 0)
        return {true, {}};
    if (errno != ENOENT || ::rename(temporary.name(), name.constData()) != 0)
        return failed(errno, path);
    temporary.published();
    return {true, {}};
}

#endif

} // namespace

#ifdef Q_OS_UNIX

Result replace(const QString &path, QByteArrayView bytes)
{
    if (!paths::writable())
        return failed(paths::readOnlyReason());
    const QByteArray name = QFile::encodeName(path);
    // lstat: a link is looked at, not followed.
    struct stat info {
    };
    const bool exists = ::lstat(name.constData(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode))
        return refusal(info);
    // A folder that takes no new file refuses the save, though the file itself may be writable:
    // bytes written over the old ones would mix with them if the program were killed meanwhile, and
    // would reach every other name of a hard-linked file.
    Temporary temporary(name, bytes, exists ? info.st_mode & 07777 : 0666);
    if (temporary.error() != 0)
        return failed(temporary.error(), path);
    // The rename replaces whatever the name is by now, a link put there meanwhile too, and never
    // writes through it.
    if (::rename(temporary.name(), name.constData()) != 0)
        return failed(errno, path);
    temporary.published();
    return {true, {}};
}

Result create(const QString &path, QByteArrayView bytes)
{
    if (!paths::writable())
        return failed(paths::readOnlyReason());
    const QByteArray name = QFile::encodeName(path);
    Temporary temporary(name, bytes, 0666);
    if (temporary.error() != 0)
        return failed(temporary.error(), path);
    // link() publishes the whole file under the name only if nothing is there yet.
    if (::link(temporary.name(), name.constData()) == 0 || errno == EEXIST)
        return {true, {}};
    if (errno == EPERM || errno == EOPNOTSUPP)
        return publishIfFree(temporary, name, path);
    return failed(errno, path);
}

void removeStale(const QString &dir)
{
    static const QRegularExpression own(QStringLiteral("^\\.zorvik-[0-9a-z]{1,13}$"));
    const time_t before = ::time(nullptr) - staleAfterMinutes * 60;
    for (const QString &entry :
         QDir(dir).entryList({QStringLiteral(".zorvik-*")}, QDir::Files | QDir::Hidden)) {
        if (!own.match(entry).hasMatch())
            continue;
        const QByteArray name = QFile::encodeName(dir + u'/' + entry);
        // Not through a link, and without waiting on a pipe; then only an old file that nobody holds.
        const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        struct stat info {
        };
        if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_mtime < before &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(name.constData());
        if (fd >= 0)
            ::close(fd);
    }
}

#else

// Elsewhere Qt's QSaveFile does the replacing. Unbuffered, so that a failed write is seen at once
// and not lost in the flush that commit() does.
Result replace(const QString &path, QByteArrayView bytes)
{
    if (!paths::writable())
        return failed(paths::readOnlyReason());
    const QFileInfo info(path);
    if (info.isSymLink())
        return failed(isLink);
    if (info.exists() && !info.isFile())
        return failed(notAFile);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes.data(), bytes.size()) != bytes.size() || !file.commit())
        return failed(QStringLiteral("ошибка записи"));
    return {true, {}};
}

Result create(const QString &path, QByteArrayView bytes)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink() ? Result{true, {}} : replace(path, bytes);
}

void removeStale(const QString &) {}

#endif

} // namespace savefile
