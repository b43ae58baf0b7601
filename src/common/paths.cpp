#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStorageInfo>

namespace paths
{

namespace
{
QString &overrideDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString programDir()
{
    const QString &dir = overrideDir();
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

void setProgramDir(const QString &dir)
{
    overrideDir() = dir;
}

QString mfilesDir()
{
    return QDir(programDir()).filePath(QStringLiteral("mfiles"));
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
    return QDir(programDir()).filePath(QStringLiteral("last.txt"));
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

} // namespace paths
