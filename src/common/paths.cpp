#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace paths
{

namespace
{
QString &chosenDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString dataDir()
{
    const QString &dir = chosenDir();
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

void setDataDir(const QString &dir)
{
    chosenDir() = dir;
}

QString mfilesDir()
{
    return QDir(dataDir()).filePath(QStringLiteral("mfiles"));
}

QString optionsFile()
{
    return QDir(mfilesDir()).filePath(QStringLiteral("options.ini"));
}

QString logoFile()
{
    return QDir(mfilesDir()).filePath(QStringLiteral("logo.gif"));
}

QString lastFile()
{
    return QDir(dataDir()).filePath(QStringLiteral("last.txt"));
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
    return QDir(mfilesDir()).filePath(name);
}

QString writeFailureReason(const QString &file)
{
    const QFileInfo info(file);
    const QFileInfo folder(info.absolutePath());
    if (info.isDir())
        return QStringLiteral("на месте файла находится папка");
    if (info.exists() && !info.isFile())
        return QStringLiteral("это не обычный файл");
    if (!folder.isDir())
        return QStringLiteral("папка %1 не найдена").arg(QDir::toNativeSeparators(folder.filePath()));
    const QStorageInfo disk(folder.filePath());
    if (disk.isReadOnly())
        return QStringLiteral("диск доступен только для чтения");
    if (info.exists() ? !info.isWritable() : !folder.isWritable())
        return QStringLiteral("нет прав на запись");
    if (disk.bytesAvailable() == 0)
        return QStringLiteral("на диске нет места");
    return QStringLiteral("ошибка записи");
}

Folder chooseFolder(const QString &programDir, const QString &userDir,
                    const std::function<bool(const QString &)> &writable)
{
    const QString beside = QDir(programDir).filePath(QStringLiteral("mfiles"));
    const bool portable = QFileInfo(beside).isDir();
    if (portable && writable(programDir))
        return {programDir, {}};

    const QString shipped =
        portable ? beside
                 : QDir::cleanPath(QDir(programDir).filePath(QStringLiteral("../share/zorvik/mfiles")));
    const QString mine = QDir(userDir).filePath(QStringLiteral("mfiles"));
    // An empty userDir (no home folder) would make a relative path, inside whatever folder the
    // program was started from.
    if (userDir.isEmpty() || !QDir().mkpath(mine)) {
        return {QFileInfo(shipped).path(),
                QStringLiteral("Не удалось создать папку «%1» для ваших настроек и баз слов. Программа "
                               "откроется с настройками по умолчанию, сохранить их не получится.")
                    .arg(QDir::toNativeSeparators(userDir))};
    }

    QStringList failed;
    for (const QFileInfo &file : QDir(shipped).entryInfoList(QDir::Files, QDir::Name)) {
        const QString target = QDir(mine).filePath(file.fileName());
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            continue;
        // The copy keeps the shipped file's permissions; the user's copy must take a save.
        if (QFile::copy(file.filePath(), target))
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
        else
            failed << file.fileName();
    }
    if (failed.isEmpty())
        return {userDir, {}};
    return {userDir, QStringLiteral("Не удалось скопировать в папку «%1» файлы программы: %2.")
                         .arg(QDir::toNativeSeparators(mine), failed.join(QStringLiteral(", ")))};
}

QString setUp()
{
    const Folder folder = chooseFolder(QCoreApplication::applicationDirPath(),
                                       QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation),
                                       [](const QString &dir) { return QFileInfo(dir).isWritable(); });
    setDataDir(folder.dir);
    return folder.error;
}

} // namespace paths
