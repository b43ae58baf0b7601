// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "savefile.h"

#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
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
    case EPERM:
        return failed(QStringLiteral("нет прав на запись"));
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
// The name is hidden and holds no ".txt": one that a kill leaves behind is no word base.
struct Temporary {
    QByteArray name;
    int error = 0;
};
Temporary writeTemporary(const QByteArray &target, QByteArrayView bytes, mode_t mode)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = target.left(target.lastIndexOf('/') + 1) + ".zorvik-" +
                                QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return {{}, errno};
        bool ok = writeAll(fd, bytes, 0) && ::fsync(fd) == 0;
        int error = errno;
        if (::close(fd) != 0 && ok) {
            ok = false;
            error = errno;
        }
        if (ok)
            return {name, 0};
        ::unlink(name.constData());
        return {{}, error};
    }
    return {{}, EEXIST};
}

// The bytes over the old ones, then the file cut to their length. A write that fails puts the old
// bytes back: they fit where they were.
Result writeInPlace(const QString &path, const QByteArray &name, QByteArrayView bytes)
{
    const int fd = ::open(name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed(errno, path);
    struct stat info {
    };
    QByteArray old;
    Result result{true, {}};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        result = failed(notAFile);
    } else {
        old.resize(qsizetype(info.st_size));
        if (::pread(fd, old.data(), size_t(old.size()), 0) != ssize_t(old.size()))
            result = failed(errno, path);
        else if (!writeAll(fd, bytes, 0) || ::ftruncate(fd, off_t(bytes.size())) != 0 || ::fsync(fd) != 0) {
            result = failed(errno, path);
            writeAll(fd, old, 0);
            (void)::ftruncate(fd, off_t(old.size()));
        }
    }
    if (::close(fd) != 0 && result.ok)
        result = failed(errno, path);
    return result;
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
    const Temporary temporary = writeTemporary(name, bytes, exists ? info.st_mode & 07777 : 0666);
    if (temporary.error != 0) {
        // A read-only folder may hold a file that takes a write.
        if (exists && (temporary.error == EACCES || temporary.error == EPERM))
            return writeInPlace(path, name, bytes);
        return failed(temporary.error, path);
    }
    // The rename replaces whatever the name is by now, a link put there meanwhile too, and never
    // writes through it.
    if (::rename(temporary.name.constData(), name.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.name.constData());
        return failed(error, path);
    }
    return {true, {}};
}

Result create(const QString &path, QByteArrayView bytes)
{
    if (!paths::writable())
        return failed(paths::readOnlyReason());
    const QByteArray name = QFile::encodeName(path);
    const Temporary temporary = writeTemporary(name, bytes, 0666);
    if (temporary.error != 0)
        return failed(temporary.error, path);
    // link() publishes the whole file under the name only if nothing is there yet.
    const int linked = ::link(temporary.name.constData(), name.constData());
    const int error = errno;
    ::unlink(temporary.name.constData());
    if (linked != 0 && error != EEXIST)
        return failed(error, path);
    return {true, {}};
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

#endif

} // namespace savefile
