#include "options.h"

#include "common/paths.h"
#include "common/textcodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{
constexpr qint64 readLimit = 64 * 1024;
}

int Options::parse(QByteArrayView bytes)
{
    const textcodec::Encoding encoding = textcodec::detect(bytes);
    const QList<QByteArrayView> lines = textcodec::splitLines(textcodec::withoutBom(bytes));
    QString *fields[] = {&baseFile, &wordCount, &memoriseSeconds, &recallSeconds};
    const int count = static_cast<int>(std::min<qsizetype>(lines.size(), 4));
    for (int i = 0; i < count; ++i)
        *fields[i] = textcodec::decode(lines[i], encoding);
    return count;
}

QByteArray Options::toBytes() const
{
    return textcodec::encodeLines({baseFile, wordCount, memoriseSeconds, recallSeconds, QString()});
}

Options loadOptions(const QString &path)
{
    Options options;
    QFile file(path);
    // Only a regular file is opened: a named pipe would wait for a writer forever.
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly))
        options.parse(file.read(readLimit));
    return options;
}

SaveResult saveOptions(const QString &path, const Options &options)
{
    QSaveFile file(path);
    // A read-only mfiles holding a writable options.ini leaves no room for the temporary file:
    // then the file is written in place.
    file.setDirectWriteFallback(true);
    const QByteArray bytes = options.toBytes();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {false, paths::writeFailureReason(path)};
    return {true, {}};
}
