// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "options.h"

#include "common/paths.h"
#include "common/textcodec.h"

#include <QFile>

namespace
{
constexpr qint64 readLimit = 64 * 1024;
}

int Options::parse(QByteArrayView bytes)
{
    const QList<QByteArrayView> lines = textcodec::splitLines(textcodec::withoutBom(bytes));
    QString *fields[] = {&baseFile, &wordCount, &memoriseSeconds, &recallSeconds};
    const int count = static_cast<int>(std::min<qsizetype>(lines.size(), 4));
    // The encoding is judged on the lines that are used: the read limit may cut a letter in two
    // further on.
    const char *end = count > 0 ? lines[count - 1].data() + lines[count - 1].size() : bytes.data();
    const textcodec::Encoding encoding = textcodec::detect(bytes.first(end - bytes.data()));
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
    if (paths::openRegularFile(file) == paths::Opened::Yes)
        options.parse(file.read(readLimit));
    return options;
}

savefile::Result saveOptions(const QString &path, const Options &options)
{
    return savefile::replace(path, options.toBytes());
}
