// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "paths.h"

#include "savefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace paths
{

namespace
{
struct Chosen {
    QString dir;
    bool writable = true;
};
Chosen &chosen()
{
    static Chosen folder;
    return folder;
}

const QString offeredList = QStringLiteral("shipped.lst");

// The names of the shipped files this user's folder was given before: none when there is no list
// yet, and no answer when a list is there but cannot be read.
std::optional<QSet<QString>> offeredBefore(const QString &list)
{
    QFile file(list);
    const Opened opened = openRegularFile(file);
    if (opened == Opened::Missing)
        return QSet<QString>();
    if (opened != Opened::Yes)
        return std::nullopt;
    const QStringList names = QString::fromUtf8(file.read(1 << 20)).split(u'\n', Qt::SkipEmptyParts);
    return QSet<QString>(names.begin(), names.end());
}
} // namespace

QString dataDir()
{
    const QString &dir = chosen().dir;
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

void setDataDir(const QString &dir, bool writable)
{
    chosen() = {dir, writable};
}

bool writable()
{
    return chosen().writable;
}

QString readOnlyReason()
{
    return QStringLiteral("папку для ваших настроек создать не удалось");
}

QString mfilesDir()
{
    return dataDir() + QStringLiteral("/mfiles");
}

QString optionsFile()
{
    return mfilesDir() + QStringLiteral("/options.ini");
}

QString logoFile()
{
    return mfilesDir() + QStringLiteral("/logo.gif");
}

QString lastFile()
{
    return dataDir() + QStringLiteral("/last.txt");
}

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0))
#ifdef Q_OS_WIN
           && !name.contains(u':') // a drive-relative path such as C:words.txt
#endif
        ;
}

QString baseFile(const QString &name)
{
    return mfilesDir() + u'/' + name;
}

Opened openRegularFile(QFile &file, QIODevice::OpenMode mode)
{
#ifdef Q_OS_UNIX
    const int fd =
        ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? Opened::Missing
               : errno == ENXIO                    ? Opened::NotAFile // a socket
                                                   : Opened::Unreadable;
    struct stat info {
    };
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (regular && ::fcntl(fd, F_SETFL, 0) == 0 && file.open(fd, mode, QFileDevice::AutoCloseHandle))
        return Opened::Yes;
    ::close(fd);
    return regular ? Opened::Unreadable : Opened::NotAFile;
#else
    const QFileInfo info(file.fileName());
    if (!info.exists())
        return Opened::Missing;
    if (!info.isFile())
        return Opened::NotAFile;
    return file.open(mode) ? Opened::Yes : Opened::Unreadable;
#endif
}

Folder chooseFolder(const QString &programDir, const QString &userDir,
                    const std::function<bool(const QString &)> &writable)
{
    const QString beside = programDir + QStringLiteral("/mfiles");
    const bool portable = QFileInfo(beside).isDir();
    if (portable && writable(programDir))
        return {programDir, {}};

    const QString shipped =
        portable ? beside : QDir::cleanPath(programDir + QStringLiteral("/../share/zorvik/mfiles"));
    const QString mine = userDir + QStringLiteral("/mfiles");
    // An empty userDir (no home folder) would make a relative path, inside whatever folder the
    // program was started from.
    if (userDir.isEmpty() || !QDir().mkpath(mine)) {
        const QString why = userDir.isEmpty() ? QStringLiteral("Ваша домашняя папка не найдена, и папку для "
                                                               "ваших настроек и баз слов создать негде.")
                                              : QStringLiteral("Не удалось создать папку «%1» для ваших "
                                                               "настроек и баз слов.")
                                                    .arg(QDir::toNativeSeparators(userDir));
        return {QFileInfo(shipped).path(),
                why + QStringLiteral(" Программа откроется с настройками по умолчанию, сохранить их не "
                                     "получится."),
                false};
    }

    // Without the list, a base the user deleted would come back: better copy nothing, and say so.
    const QString list = userDir + u'/' + offeredList;
    const std::optional<QSet<QString>> before = offeredBefore(list);
    if (!before) {
        return {userDir, QStringLiteral("Не удалось прочитать список файлов программы, уже скопированных в "
                                        "вашу папку («%1»), поэтому новые файлы программы не копировались: "
                                        "иначе вернулись бы и те, что вы удалили.")
                             .arg(QDir::toNativeSeparators(list))};
    }
    QStringList offered(before->begin(), before->end()), failed, messages;
    for (const QFileInfo &file : QDir(shipped).entryInfoList(QDir::Files, QDir::Name)) {
        if (before->contains(file.fileName()))
            continue;
        QFile source(file.filePath());
        const savefile::Result copied =
            openRegularFile(source) == Opened::Yes
                ? savefile::create(mine + u'/' + file.fileName(), source.readAll())
                : savefile::Result{false, QStringLiteral("файл не читается")};
        if (copied.ok)
            offered << file.fileName();
        else
            failed << QStringLiteral("%1 (%2)").arg(file.fileName(), copied.error);
    }
    if (!failed.isEmpty()) {
        messages << QStringLiteral("Не удалось скопировать в папку «%1» файлы программы: %2.")
                        .arg(QDir::toNativeSeparators(mine), failed.join(QStringLiteral(", ")));
    }
    if (offered.size() > before->size()) {
        offered.sort();
        const savefile::Result kept = savefile::replace(list, offered.join(u'\n').toUtf8() + '\n');
        if (!kept.ok) {
            messages << QStringLiteral("Не удалось сохранить в файл «%1» список файлов программы, уже "
                                       "скопированных в вашу папку (%2). Удалённые вами файлы программы "
                                       "вернутся при следующем запуске.")
                            .arg(QDir::toNativeSeparators(list), kept.error);
        }
    }
    return {userDir, messages.join(u'\n')};
}

QString userDir()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // A relative XDG_DATA_HOME or HOME is invalid and must be ignored, and so is an empty one: either
    // would put the user's folder inside whatever folder the program was started from, or at the
    // file system's root.
    const QString name = QCoreApplication::applicationName();
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(dataHome))
        return dataHome + u'/' + name;
    QString home = qEnvironmentVariable("HOME");
    if (!QDir::isAbsolutePath(home)) {
        home.clear();
        struct passwd entry {
        }, *found = nullptr;
        char buffer[4096];
        if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
            QDir::isAbsolutePath(QFile::decodeName(found->pw_dir)))
            home = QFile::decodeName(found->pw_dir);
    }
    return home.isEmpty() ? QString() : home + QStringLiteral("/.local/share/") + name;
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#endif
}

QString setUp()
{
    const Folder folder = chooseFolder(QCoreApplication::applicationDirPath(), userDir(),
                                       [](const QString &dir) { return QFileInfo(dir).isWritable(); });
    setDataDir(folder.dir, folder.writable);
    if (folder.writable) {
        savefile::removeStale(dataDir());
        savefile::removeStale(mfilesDir());
    }
    return folder.error;
}

} // namespace paths
