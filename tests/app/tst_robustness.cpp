// Whatever lies in mfiles, the program opens, trains or says clearly in Russian what is wrong,
// and writes no file but last.txt.
#include "support.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QRandomGenerator>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace
{

// Every file below the program directory with a hash of its contents, last.txt left out.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.fileName() == "last.txt" && info.dir() == QDir(root))
            continue;
        QByteArray digest = "dir";
        if (info.isFile()) {
            QFile file(path);
            QCryptographicHash hash(QCryptographicHash::Sha1);
            if (file.open(QIODevice::ReadOnly))
                hash.addData(&file);
            digest = hash.result();
        } else if (!info.isDir()) {
            digest = "special";
        }
        files.insert(path, digest);
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

} // namespace

class tst_robustness : public QObject
{
    Q_OBJECT

    // Lays a hostile input into a fresh program directory.
    using Setup = std::function<void(ScratchProgram &)>;

    static void options(ScratchProgram &p, const QByteArray &bytes) { p.write("mfiles/options.ini", bytes); }

private slots:
    void hostileFiles_data()
    {
        QTest::addColumn<Setup>("setup");
        // What the training start leads to: "" for a running training, else part of the message.
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<int>("words");

        auto opt = [](QByteArray bytes) { return Setup([bytes](ScratchProgram &p) { options(p, bytes); }); };
        QTest::newRow("options missing")
            << Setup([](ScratchProgram &p) { QFile::remove(p.path("mfiles/options.ini")); }) << "" << 10;
        QTest::newRow("options empty") << opt("") << "" << 10;
        QTest::newRow("options one line") << opt("wmbase.txt") << "" << 10;
        QTest::newRow("options three lines") << opt("wmbase.txt\r\n20\r\n15") << "" << 20;
        QTest::newRow("options lf") << opt("wmbase.txt\n20\n15\n90\n") << "" << 20;
        QTest::newRow("options lone cr") << opt("wmbase.txt\r20\r15\r90\r") << "" << 20;
        QTest::newRow("options mixed ends")
            << opt("wmbase.txt\n\r20\r\n15\r90") << "" << 10; // line 2 is empty
        QTest::newRow("options 50 MB")
            << opt("wmbase.txt\r\n20\r\n15\r\n90\r\n" + QByteArray(50 << 20, 'x')) << "" << 20;
        QTest::newRow("options 10 MB line") << opt(QByteArray(10 << 20, 'y')) << "«yyyyyyyyyy" << 0;
        QTest::newRow("options nul bytes") << opt(QByteArray("wmbase.txt\r\n2\0"
                                                             "0\r\n15\r\n90\r\n",
                                                             25))
                                           << "" << 10;
        QTest::newRow("options binary") << opt(randomBytes(4096, 7)) << "недопустимо" << 0;
        QTest::newRow("options invalid utf8")
            << opt("wmbase.txt\r\n\xC3\x28\xFF\r\n15\r\n90\r\n") << "" << 10;
        QTest::newRow("options negative") << opt("wmbase.txt\r\n-5\r\n-5\r\n-5\r\n") << "" << 10;
        QTest::newRow("options huge") << opt("wmbase.txt\r\n1e308\r\n1e308\r\n1e999\r\n") << "" << 50;
        QTest::newRow("options hexadecimal")
            << opt("wmbase.txt\r\n&HFFFFFFFF\r\n&H14\r\n&O170\r\n") << "" << 50;
        QTest::newRow("options NaN and blanks") << opt("wmbase.txt\r\nNaN\r\n  \r\n\r\n") << "" << 10;
        QTest::newRow("options 300 character name")
            << opt(QByteArray(300, 'n') + ".txt\r\n10\r\n10\r\n60\r\n") << "не найден" << 0;
        QTest::newRow("options name is a folder") << Setup([](ScratchProgram &p) {
            QDir(p.path("mfiles")).mkdir("dir.txt");
            options(p, "dir.txt\r\n10\r\n10\r\n60\r\n");
        }) << "не является файлом" << 0;
        QTest::newRow("options is a folder") << Setup([](ScratchProgram &p) {
            QFile::remove(p.path("mfiles/options.ini"));
            QDir(p.path("mfiles")).mkdir("options.ini");
        }) << "" << 10;
        QTest::newRow("options name with path")
            << opt("../../etc/passwd\r\n10\r\n10\r\n60\r\n") << "недопустимо" << 0;

        auto base = [](QByteArray bytes) {
            return Setup([bytes](ScratchProgram &p) { p.write("mfiles/wmbase.txt", bytes); });
        };
        QTest::newRow("base missing")
            << Setup([](ScratchProgram &p) { QFile::remove(p.path("mfiles/wmbase.txt")); }) << "не найден"
            << 0;
        QTest::newRow("base empty") << base("") << "слишком мало" << 0;
        QTest::newRow("base fewer lines than words") << base("a\r\nb\r\nc\r\n") << "слишком мало" << 0;
        QTest::newRow("base exactly as many lines")
            << base("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\n") << "" << 10;
        QTest::newRow("base one 100 MB line") << base(QByteArray(100 << 20, 'z')) << "слишком мало" << 0;
        QTest::newRow("base only empty lines") << base(QByteArray(40, '\n')) << "" << 10;
        QTest::newRow("base utf8 bom")
            << base("\xEF\xBB\xBF" + QByteArray("кот\r\n").repeated(20)) << "" << 10;
        QTest::newRow("base 0x98") << base(QByteArray("\x98\xE0\r\n").repeated(20)) << "" << 10;
        QTest::newRow("base lone cr") << base(QByteArray("word\r").repeated(20)) << "" << 10;
        QTest::newRow("base binary") << base(randomBytes(1 << 20, 3)) << "" << 10;
#ifdef Q_OS_UNIX
        QTest::newRow("base named pipe") << Setup([](ScratchProgram &p) {
            QFile::remove(p.path("mfiles/wmbase.txt"));
            QCOMPARE(::mkfifo(QFile::encodeName(p.path("mfiles/wmbase.txt")).constData(), 0600), 0);
        }) << "не является файлом" << 0;
#endif
        QTest::newRow("mfiles missing")
            << Setup([](ScratchProgram &p) { QVERIFY(QDir(p.path("mfiles")).removeRecursively()); })
            << "не найден" << 0;

        auto logo = [](QByteArray bytes) {
            return Setup([bytes](ScratchProgram &p) { p.write("mfiles/logo.gif", bytes); });
        };
        QTest::newRow("logo truncated") << logo("GIF89a\x39\x00\x39\x00\xF7") << "" << 10;
        QTest::newRow("logo huge size") << logo("GIF89a\xFF\xFF\xFF\xFF\x00\x00\x00,"
                                                "\x00\x00\x00\x00\xFF\xFF\xFF\xFF\x00\x02\x02\x44\x01\x00;")
                                        << "" << 10;
        QTest::newRow("logo is a png") << Setup([](ScratchProgram &p) {
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(Qt::blue);
            QVERIFY(image.save(p.path("mfiles/logo.gif"), "PNG"));
        }) << "" << 10;
        QTest::newRow("last.txt is a folder")
            << Setup([](ScratchProgram &p) { QDir(p.dir.path()).mkdir("last.txt"); }) << "" << 10;
    }

    void hostileFiles()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, outcome);
        QFETCH(int, words);
        ScratchProgram program;
        setup(program);
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
            QVERIFY(f->Timer1->isActive());
            QCOMPARE(f->Label28->caption(), QString::number(words));
            // A whole training to its results.
            for (int i = 0; i < 40 && f->Timer1->isActive(); ++i)
                w.Timer1_Timer();
            typeText(f->Text4, f->Label25[0]->caption());
            for (int i = 0; i < 200 && f->Timer2->isActive(); ++i)
                w.Timer2_Timer();
            QVERIFY(!f->Frame4->isHidden());
            QVERIFY(!f->Label47->caption().contains("nan") && !f->Label47->caption().contains("inf"));
        } else {
            QVERIFY(box.shown);
            QCOMPARE(box.title, QStringLiteral("Darizi2"));
            QVERIFY2(box.text.contains(outcome), qPrintable(box.text));
            QVERIFY(box.text.size() < 400); // a damaged name is cut short
            QVERIFY(!w.trainingRunning());
            QVERIFY(!f->Frame3->isHidden());
        }
        // The window stays usable.
        w.settingsAction();
        QVERIFY(!f->Frame2->isHidden());
        QCOMPARE(snapshot(program.dir.path()), before);
    }
};

QTEST_MAIN(tst_robustness)
#include "tst_robustness.moc"
