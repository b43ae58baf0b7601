// Whatever lies in mfiles, the program opens, trains or says clearly in Russian what is wrong, and
// writes no file but last.txt.
#include "support.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QRandomGenerator>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace
{

// Every entry below the program directory with a hash of its contents; last.txt left out.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (path != root + "/last.txt")
            files[path] = it.fileInfo().isFile() && file.open(QIODevice::ReadOnly)
                              ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                              : QByteArray("not a file");
    }
    return files;
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator rng(seed);
    for (char &c : bytes)
        c = char(rng.bounded(256));
    return bytes;
}

QByteArray png()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage(2, 2, QImage::Format_RGB32).save(&buffer, "PNG");
    return bytes;
}

} // namespace

// Columns: file, bytes, outcome, words.
using HostileFilesRow = std::tuple<QString, QByteArray, QString, int>;

class tst_robustness : public QObject
{
    Q_OBJECT
    // A file of mfiles and what to put there: bytes, a folder ("/"), a named pipe ("|") or nothing
    // ("-"); the outcome is "" for a training that runs, else a part of the message shown.
    void row(const char *name, const QString &file, const QByteArray &bytes, const QString &outcome = "",
             int words = 10)
    {
        addRow(name, file, bytes, outcome, words);
    }

private slots:
    void hostileFiles_data()
    {
        columns<HostileFilesRow>();
        const QString o = "options.ini", b = "wmbase.txt", l = "logo.gif";
        row("options missing", o, "-");
        row("options a folder", o, "/");
        row("options empty", o, "");
        row("options one line", o, "wmbase.txt");
        row("options mixed ends", o, "wmbase.txt\n\r20\r\n15\r90"); // line 2 is empty
        row("options 50 MB", o, "wmbase.txt\r\n20\r\n15\r\n90\r\n" + QByteArray(50 << 20, 'x'), "", 20);
        row("options 10 MB line", o, QByteArray(10 << 20, 'y'), "«yyyyyyyyyy", 0);
        row("options nul bytes", o, QByteArray("wmbase.txt\r\n2\0000\r\n15\r\n90\r\n", 25));
        row("options binary", o, randomBytes(4096, 7), "недопустимо", 0);
        row("options invalid utf8", o, "wmbase.txt\r\n\xC3\x28\xFF\r\n15\r\n90\r\n");
        row("options 300 character name", o, QByteArray(300, 'n') + "\r\n10\r\n10\r\n60\r\n", "не найден", 0);
        row("options name is a folder", o, "dir.txt\r\n10\r\n10\r\n60\r\n", "не является файлом", 0);
        row("options name with path", o, "../../etc/passwd\r\n10\r\n10\r\n60\r\n", "недопустимо", 0);
        row("base missing", b, "-", "не найден", 0);
        row("base a folder", b, "/", "не является файлом", 0);
        row("base fewer lines than words", b, "a\r\nb\r\nc\r\n", "слишком мало", 0);
        row("base as many lines as words", b, QByteArray("w\r\n").repeated(10));
        row("base one 100 MB line", b, QByteArray(100 << 20, 'z'), "слишком мало", 0);
        row("base only empty lines", b, QByteArray(40, '\n'));
        row("base 0x98", b, QByteArray("\x98\xE0\r\n").repeated(20));
        row("base binary", b, randomBytes(1 << 20, 3));
#ifdef Q_OS_UNIX
        row("base a named pipe", b, "|", "не является файлом", 0);
#endif
        row("mfiles missing", "", "-", "не найден", 0);
        row("logo truncated", l, "GIF89a\x39\x00\x39\x00\xF7");
        row("logo huge", l,
            "GIF89a\xFF\xFF\xFF\xFF\x00\x00\x00,\x00\x00\x00\x00\xFF\xFF\xFF\xFF\x00\x02\x02\x44\x01\x00;");
        row("logo a png", l, png());
        row("last.txt a folder", "../last.txt", "/");
#ifdef Q_OS_UNIX
        row("logo a named pipe", l, "|");
        row("last.txt a named pipe", "../last.txt", "|");
#endif
    }

    void hostileFiles()
    {
        const auto [file, bytes, outcome, words] = fetch<HostileFilesRow>();
        ScratchProgram program;
        QDir(program.path("mfiles")).mkdir("dir.txt");
        const QString path = program.path("mfiles/" + file);
        QFile::remove(path);
        if (bytes == "-")
            QDir(path).removeRecursively();
        else if (bytes == "/")
            QDir().mkpath(path);
#ifdef Q_OS_UNIX
        else if (bytes == "|")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
        else
            program.write("mfiles/" + file, bytes);
        const auto before = snapshot(program.dir.path());

        frmvaruva w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.controls()->Frame1->isHidden());
        BoxAnswer box("ОК");
        w.startAction();
        Form *f = w.controls();
        if (outcome.isEmpty()) {
            QVERIFY2(!box.shown || box.text.contains("last.txt"), qPrintable(box.text));
            QCOMPARE(f->Label28->caption(), QString::number(words));
            for (int i = 0; i < 40 && f->Timer1->isActive(); ++i) // a whole training to its results
                w.Timer1_Timer();
            typeText(f->Text4, f->Label25[0]->caption());
            for (int i = 0; i < 200 && f->Timer2->isActive(); ++i)
                w.Timer2_Timer();
            QVERIFY(!f->Frame4->isHidden());
            QVERIFY(!f->Label47->caption().contains("nan") && !f->Label47->caption().contains("inf"));
        } else {
            QCOMPARE(box.title, "Darizi2");
            QVERIFY2(box.text.contains(outcome) && box.text.size() < 400, qPrintable(box.text.left(400)));
            QVERIFY(!w.trainingRunning() && !f->Frame2->isHidden()); // where another base is chosen
        }
        w.settingsAction(); // the window stays usable
        QVERIFY(!f->Frame2->isHidden());
        QCOMPARE(snapshot(program.dir.path()), before);
    }
};

QTEST_MAIN(tst_robustness)
#include "tst_robustness.moc"
