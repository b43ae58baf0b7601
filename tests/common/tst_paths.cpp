#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "rows.h"

// Columns: the shipped mfiles, whether the program's folder usr/bin is writable, whether the user's
// folder home/zorvik cannot be made, the user's files before ("name=text"), the folder chosen, the
// user's files after.
using FolderRow = std::tuple<QString, bool, bool, QStringList, QString, QStringList>;

static const QStringList shipped = {"abstrakt.txt=a", "options.ini=o", "wmbase.txt=w"};

class tst_paths : public QObject
{
    Q_OBJECT
private slots:
    void folder_data()
    {
        columns<FolderRow>();
        addRow("portable folder", QString("usr/bin/mfiles"), true, false, QStringList(), QString("usr/bin"),
               QStringList());
        addRow("read-only program folder", QString("usr/bin/mfiles"), false, false, QStringList(),
               QString("home/zorvik"), shipped);
        addRow("installed, first start", QString("usr/share/zorvik/mfiles"), true, false, QStringList(),
               QString("home/zorvik"), shipped);
        addRow("later start keeps the user's files, adds a new shipped base",
               QString("usr/share/zorvik/mfiles"), true, false,
               QStringList{"mine.txt=m", "options.ini=changed", "wmbase.txt=edited"}, QString("home/zorvik"),
               QStringList{"abstrakt.txt=a", "mine.txt=m", "options.ini=changed", "wmbase.txt=edited"});
        addRow("user folder cannot be made", QString("usr/share/zorvik/mfiles"), true, true, QStringList(),
               QString("usr/share/zorvik"), QStringList());
    }
    void folder()
    {
        const auto [where, writable, blocked, before, chosen, after] = fetch<FolderRow>();
        QTemporaryDir tmp;
        const QDir root(tmp.path());
        const auto write = [&](const QString &dir, const QStringList &files) {
            root.mkpath(dir);
            for (const QString &file : files) {
                QFile out(root.filePath(dir + '/' + file.section('=', 0, 0)));
                QVERIFY(out.open(QIODevice::WriteOnly));
                out.write(file.section('=', 1).toUtf8());
            }
        };
        write(where, shipped);
        if (blocked)
            write(".", {"home="});
        else if (!before.isEmpty())
            write("home/zorvik/mfiles", before);

        const paths::Folder folder =
            paths::chooseFolder(root.filePath("usr/bin"), root.filePath("home/zorvik"),
                                [&](const QString &) { return writable; });
        QCOMPARE(folder.dir, root.filePath(chosen));
        QCOMPARE(folder.error.isEmpty(), !blocked);
        QStringList found;
        const QDir mine(root.filePath("home/zorvik/mfiles"));
        for (const QString &name : mine.entryList(QDir::Files, QDir::Name)) {
            QFile in(mine.filePath(name));
            QVERIFY(in.open(QIODevice::ReadOnly));
            found << name + '=' + QString::fromUtf8(in.readAll());
        }
        QCOMPARE(found, after);
    }
};

QTEST_GUILESS_MAIN(tst_paths)
#include "tst_paths.moc"
