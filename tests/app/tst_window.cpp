// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as a user drives it: start-up, menu, shortcuts, settings, trainings, results, help,
// hostile files and a long run. Ticks are run by calling the timer handlers; keys and clicks are
// real events.
//
// The script table, one row a line:  name :: script :: state
//   script   actions on a fresh window, separated by "; "; a script that starts with "+" goes on
//            from the row above's. Arguments are split at "|".
//   state    "probe=value" pairs separated by "; ". A row fails naming each probe that differs, each
//            control that does not exist, and each message box that no "answer" waited for.
//
// Actions
//   opts name|words|memorising|recall   options.ini with these four lines
//   words N                     wmbase.txt of N distinct words "слово0к", "слово1к", ...
//   file name|contents          a file in mfiles ("../x" beside it; "\n" a line feed in the name);
//                               the program folder as it then is becomes what "kept" compares with.
//                               contents: "missing", "folder", "pipe", "hex:" and bytes in hex, or
//                               Windows-1251 lines ended by CR LF, "/" ending a line, a line "c*N"
//                               N times the character c ("c*5M": 5 MiB of it)
//   menu N                      a click on menu item N (0 Старт, 1 Настройки, 2 Справка, 3 Выход)
//   click C, move C|x,y         a click on control C; the pointer onto C at x,y (3,3 unless given)
//   key K                       a key click, K as QKeySequence reads it ("Ctrl+Alt+N", "Return")
//   press                       Alt pressed and held
//   type text, find N           text typed key by key into the focused control; the first N words
//                               of the grid typed into the recall box
//   answer B>A,A...             the next message box is answered with its button B; the actions
//                               after ">" run while it is open. Every box needs one.
//   t1 N, t2 N                  N ticks of the memorising or the recall timer, "*" to the phase's end
//   set C|text|C|text...        texts written into controls directly
//   clip text                   the clipboard's text
//   train                       a whole training that finds one word
//   note P                      the probe P's value now, for the probe "notes"
//   lock                        the data folder read-only, as when no user's folder could be made
// Controls are named as in the window, "Label25.3" for element 3 of an array.
//
// Probes
//   C                           a control's caption or text (a picture: its size, "57x57")
//   C? C! C~                    shown, enabled (1 or 0), tool tip
//   C$ C& C%                    the text a label shows; the name and the description a screen
//                               reader reads
//   C# C_ C@ C^                 background colour ("#808080"), underlined (1/0), red ("red" or "-"),
//                               font size in pixels with "b" when bold
//   C* C|                       1 when a bluish pixel shows (the focus frame); 1 when the bottom
//                               pixel row has ink (a line cut through)
//   page                        the pages shown; timers: the two timers active ("10")
//   boxes                       every box, "title: text [buttons]", default button marked "*"
//   said:text                   exactly one box, titled "Darizi2", brief, saying text
//   files                       the file list and its current row; ini: options.ini, "/" for CR LF
//   kept                        1 when no file but last.txt changed since the start or the last "file"
//   last, notes                 last.txt's bytes ("missing"); the values "note" took, by ","
//   found                       the words shown in the recall grid, sorted
//   topic:C                     "ok" when the help link C opens its topic and the text fits
//   fits                        1 when no result is cut off, else the cell that is
//   focus, clip, window, qt     the focused control; the clipboard; title, size, shown and " max"
//                               when maximise is offered; a text from Qt's own translation
#include "app/frmvaruva.h"
#include "app/keys.h"
#include "common/paths.h"
#include "common/textcodec.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QKeySequence>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <sys/resource.h>
#include <sys/stat.h>

// Every entry below a folder with a hash of its contents ("-" for what is no file); last.txt left out.
static QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        files[file.fileName()] = it.fileInfo().isFile() && file.open(QIODevice::ReadOnly)
                                     ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                                     : "-";
    }
    files.remove(root + "/last.txt");
    return files;
}

static qint64 peakKiB() // the largest resident set so far
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class tst_window : public QObject
{
    Q_OBJECT

    // A program folder of the test's own: mfiles/ with options.ini and a base of distinct words
    // "слово0к", "слово1к", ... (none the beginning of another).
    std::unique_ptr<QTemporaryDir> program;
    std::unique_ptr<frmvaruva> w;
    QStringList boxes; // what each message box said, "title: text [buttons]", the default marked "*"
    QStringList answers;
    QStringList notes;                  // probes noted on the way
    mutable QStringList problems;       // what fails a row besides its probes
    mutable vb::Label nowhere{nullptr}; // what the name of no control finds
    std::function<void()> meanwhile;    // runs while the next box is open
    QTimer poll;                        // looks for message boxes to answer
    QMap<QString, QByteArray> before;   // the program folder as it was

    Form *f() const { return w->controls(); }
    QString path(const QString &relative) const { return program->filePath(relative); }
    // Contents: "missing", "folder", "pipe", "hex:..." bytes, or lines of Windows-1251 text ending in
    // CR LF, where "/" ends a line and a line "c*N" is N times c (a trailing M: MiB).
    void writeFile(const QString &target, const QString &contents)
    {
        QFile::remove(target);
        QDir(target).removeRecursively();
        QByteArray bytes;
        if (contents == "folder" || contents == "pipe" || contents == "missing") {
            QVERIFY(contents != "folder" || QDir().mkpath(target));
            QVERIFY(contents != "pipe" || ::mkfifo(QFile::encodeName(target).constData(), 0600) == 0);
            return;
        } else if (contents.startsWith("hex:")) {
            bytes = QByteArray::fromHex(contents.mid(4).toLatin1());
        } else {
            for (const QString &line : contents.split('/')) {
                const bool repeat = line.size() > 2 && line[1] == '*';
                const int times = line.mid(2).remove('M').toInt() << (line.endsWith('M') ? 20 : 0);
                bytes += repeat ? QByteArray(times, line[0].toLatin1())
                                : textcodec::toWindows1251(line).value_or("(not Windows-1251)");
                bytes += "\r\n";
            }
            bytes.chop(2);
        }
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    void open()
    {
        w.reset();
        w = std::make_unique<frmvaruva>();
        w->setSeed(42);
        w->setTickInterval(std::chrono::hours(24)); // the scripts tick the timers themselves
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    QWidget *control(const QString &name) const // "Label25.3": an element of an array
    {
        QWidget *c =
            f()->findChildren<QWidget *>(name.section('.', 0, 0)).value(name.section('.', 1).toInt());
        return c ? c : (problems << "unknown control " + name, &nowhere);
    }
    void answerBoxes()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box->property("seen").toBool())
            return;
        box->setProperty("seen", true);
        QStringList buttons;
        for (QAbstractButton *b : box->buttons())
            buttons << b->text() + (b == box->defaultButton() ? "*" : "");
        boxes << box->windowTitle() + (box->icon() != QMessageBox::NoIcon ? " (icon)" : "") + ": " +
                     box->text().replace(program->path(), "~") + " [" + buttons.join(',') + "]";
        if (meanwhile)
            std::exchange(meanwhile, nullptr)();
        const QString caption = answers.isEmpty() ? QString() : answers.takeFirst();
        for (QAbstractButton *b : box->buttons())
            if (b->text() == caption)
                return b->click();
        problems << (caption.isEmpty() ? "unexpected box " : "no button " + caption + " in ") + boxes.last();
        box->reject();
    }
    // The actions of the table at the top.
    void run(const QStringList &actions)
    {
        for (const QString &action : actions) {
            const QString verb = action.section(' ', 0, 0), arg = action.section(' ', 1);
            const QStringList args = arg.split('|');
            QWindow *window = w ? w->windowHandle() : nullptr;
            if (verb == "opts") // options.ini: name|words|memorising|recall
                writeFile(path("mfiles/options.ini"), args.join('/') + "//");
            else if (verb == "words") { // "слово0к", "слово1к", ...
                QString words;
                for (int i = 0; i < arg.toInt(); ++i)
                    words += QString("слово%1к/").arg(i);
                writeFile(path("mfiles/wmbase.txt"), words);
            } else if (verb == "file") { // in mfiles: name|contents, see writeFile(); what is there is kept
                writeFile(path("mfiles/" + QString(args[0]).replace("\\n", "\n")), args[1]);
                before = snapshot(program->path());
            } else if (verb == "train") // a whole training that finds one word
                run({"menu 0", "t1 *", "find 1", "t2 *"});
            else if (verb == "answer") { // the next box: its button, and actions run while it is open
                answers << arg.section('>', 0, 0);
                meanwhile = [this, later = arg.section('>', 1).split(',', Qt::SkipEmptyParts)] {
                    run(later);
                };
            } else if (verb == "menu" || verb == "click") {
                const uint item = verb == "menu" ? arg.toUInt() : 4; // 4: no menu item
                QTest::mouseClick(item < 4 ? f()->Label2[item] : control(arg), Qt::LeftButton, {},
                                  QPoint(5, 5));
            } else if (verb == "move") { // the pointer onto a control, at an offset
                const QStringList xy = args.value(1, "3,3").split(',');
                if (QWidget *c = control(args[0]); c != &nowhere) // mapTo() needs one of the window's
                    QTest::mouseMove(window, c->mapTo(w.get(), QPoint(xy[0].toInt(), xy[1].toInt())));
            } else if (verb == "key") {
                const QKeyCombination key = QKeySequence::fromString(arg)[0];
                QTest::keyClick(window, key.key(), key.keyboardModifiers());
            } else if (verb == "press") // Alt, held down
                QTest::keyPress(window, Qt::Key_Alt, Qt::AltModifier);
            else if (verb == "type" || verb == "find") { // key by key (keyClicks cannot type Cyrillic)
                QString text = verb == "type" ? arg : QString();
                for (int i = 0; verb == "find" && i < arg.toInt(); ++i) // the grid's first words
                    text += f()->Label25[i]->caption();
                for (QChar c : text)
                    QTest::sendKeyEvent(QTest::Click,
                                        verb == "type" ? QApplication::focusWidget() : f()->Text4,
                                        Qt::Key_unknown, c, {});
            } else if (verb == "set") { // control|text|control|text...
                for (int i = 0; i + 1 < args.size(); i += 2)
                    if (auto *box = qobject_cast<QLineEdit *>(control(args[i])))
                        box->setText(args[i + 1]);
                    else
                        static_cast<vb::Label *>(control(args[i]))->setCaption(args[i + 1]);
            } else if (verb == "t1" || verb == "t2") // ticks of the phase's timer, "*" to its end
                for (int i = 0; i < (arg == "*" ? 1000 : arg.toInt()) &&
                                (verb == "t1" ? f()->Timer1 : f()->Timer2)->isActive();
                     ++i)
                    verb == "t1" ? w->Timer1_Timer() : w->Timer2_Timer();
            else if (verb == "clip")
                QGuiApplication::clipboard()->setText(arg);
            else if (verb == "note") // a probe's value now, for the probe "notes"
                notes << probe(arg);
            else if (verb == "lock") // the shipped files, read-only: no user's folder could be made
                paths::setDataDir(program->path(), false);
            else
                problems << "unknown action " + action;
        }
    }
    // The probes of the table at the top.
    QString probe(const QString &key) const
    {
        const QString name = key.section(':', 1), clip = QGuiApplication::clipboard()->text();
        const auto fits = [](QWidget *c) { return c->heightForWidth(c->width()) <= c->height(); };
        if (key == "page") {
            QStringList shown;
            for (vb::Frame *p : f()->pages())
                if (!p->isHidden())
                    shown << p->objectName();
            return shown.join(',');
        }
        if (key == "timers")
            return QString("%1%2").arg(f()->Timer1->isActive()).arg(f()->Timer2->isActive());
        if (key == "boxes")
            return boxes.join(" / ");
        if (key == "notes")
            return notes.join(',');
        if (key == "last") {
            QFile file(path("last.txt"));
            return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : "missing";
        }
        if (key == "files") {
            QStringList names;
            for (int i = 0; i < f()->File1->count(); ++i)
                names << f()->File1->item(i)->text();
            return names.join(',') + QString(" at %1").arg(f()->File1->currentRow());
        }
        if (key == "ini") {
            QFile file(path("mfiles/options.ini"));
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            return textcodec::decode(bytes, textcodec::detect(bytes)).replace("\r\n", "/");
        }
        if (key.startsWith("said:")) // a box says so, briefly, titled "Darizi2"
            return QString::number(boxes.size() == 1 && boxes[0].startsWith("Darizi2: ") &&
                                   boxes[0].contains(name) && boxes[0].size() < 400);
        if (key == "kept") // no file written but last.txt
            return QString::number(snapshot(program->path()) == before);
        if (key == "found") { // the visible words, sorted
            QStringList words;
            for (const vb::Label *slot : f()->Label25)
                if (!slot->isHidden())
                    words << slot->caption();
            words.sort();
            return words.join(',');
        }
        if (key.startsWith("topic:")) // the link's topic: its title, a text that fits the page
            return f()->Label50->caption().startsWith(static_cast<vb::Label *>(control(name))->caption()) &&
                           !f()->Label51->caption().isEmpty() && fits(f()->Label51)
                       ? "ok"
                       : f()->Label50->caption();
        if (key == "fits") { // the results and the title fit on one line each, no tail cut off
            for (vb::Label *cell : {f()->Label30, f()->Label32, f()->Label43, f()->Label44, f()->Label47})
                if (!fits(cell) || cell->fontMetrics().horizontalAdvance(cell->text()) > cell->width())
                    return cell->objectName();
            return "1";
        }
        if (key == "focus")
            return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "none";
        if (key == "clip") // what the credits line copied, and that it shows it
            return clip + (f()->Label4->caption().contains(clip) ? "" : " (not shown)");
        if (key == "window") // its title, size and visibility; "max" when maximise is offered
            return w->windowTitle() +
                   QString(" %1x%2 %3").arg(w->width()).arg(w->height()).arg(w->isVisible()) +
                   (w->windowFlags() & Qt::WindowMaximizeButtonHint ? " max" : "");
        if (key == "qt")
            return QCoreApplication::translate("QLineEdit", "Select All");
        QWidget *c = control(key.chopped(QString("?!~#_@^*|$&%").contains(key.back())));
        const QImage image = QString("*|").contains(key.back()) ? c->grab().toImage() : QImage();
        for (int y = key.endsWith('|') ? image.height() - 1 : 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (key.endsWith('*') ? image.pixelColor(x, y).blue() > image.pixelColor(x, y).red() + 20
                                      : image.pixel(x, y) != image.pixel(0, y))
                    return "1";
        if (!image.isNull())
            return "0";
        if (key.endsWith('?'))
            return QString::number(!c->isHidden());
        if (key.endsWith('!'))
            return QString::number(c->isEnabled());
        if (key.endsWith('~'))
            return c->toolTip();
        if (key.endsWith('$')) // the text a label shows
            return static_cast<QLabel *>(c)->text();
        if (key.endsWith('&') || key.endsWith('%')) // what a screen reader reads: name, description
            return QAccessible::queryAccessibleInterface(c)->text(
                key.endsWith('&') ? QAccessible::Name : QAccessible::Description);
        if (key.endsWith('^')) // the font's size in pixels, "b" when bold
            return QString::number(c->font().pixelSize()) + (c->font().bold() ? "b" : "");
        if (key.endsWith('#')) // the background: a menu item grey, or highlighted
            return c->palette().color(QPalette::Window).name();
        if (key.endsWith('_'))
            return QString::number(static_cast<vb::Label *>(c)->underline());
        if (key.endsWith('@')) // missed words are red in the review
            return static_cast<vb::Label *>(c)->foreColor() == vb::red ? "red" : "-";
        if (auto *box = qobject_cast<QLineEdit *>(c))
            return box->text();
        if (auto *label = qobject_cast<vb::Label *>(c))
            return label->pixmap().isNull()
                       ? label->caption()
                       : QString("%1x%2").arg(label->pixmap().width()).arg(label->pixmap().height());
        return "?";
    }

    // Rows of a script table, as the table at the top describes them.
    void table(const QString &rows)
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("state");
        QString previous;
        for (const QString &row : rows.split('\n', Qt::SkipEmptyParts)) {
            const QStringList parts = row.split("::");
            const QString script = parts.value(1).trimmed();
            previous = script.startsWith('+') ? previous + ';' + script.mid(1) : script;
            QTest::newRow(qPrintable(parts[0].trimmed())) << previous << parts.value(2).trimmed();
        }
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        connect(&poll, &QTimer::timeout, this, &tst_window::answerBoxes);
        poll.start(5);
    }
    void init()
    {
        program = std::make_unique<QTemporaryDir>();
        QDir(path(".")).mkdir("mfiles");
        QFile::copy(ZORVIK_DATA_DIR "/mfiles/logo.gif", path("mfiles/logo.gif"));
        paths::setDataDir(program->path());
        run({"opts wmbase.txt|10|10|60", "words 200"});
        before = snapshot(program->path());
    }
    void cleanup()
    {
        w.reset();
        program.reset();
        boxes = answers = notes = {};
        meanwhile = nullptr;
        if (!problems.isEmpty())
            QFAIL(qPrintable(std::exchange(problems, {}).join("\n")));
    }

    void scripts_data()
    {
        table(R"(
start-up :: :: window=Зорвик v.2.1 537x373 1; Label8|=0; page=Frame1; timers=00; Label22=wmbase.txt; Text1=10; Text3=60; Command1!=1; Label17?=0; Label19?=0; Label20?=0; Label21?=0; Image1=57x57; Image2=57x57; Label2.0^=11b; Label22^=11; Label5^=19; Label11^=48b; Line1?=1; qt=Выделить всё; focus=frmvaruva; Label6=Предлагаемая программа предназначена для развития зрительной памяти человека. За заданный промежуток времени Вам нужно запомнить определённое количество слов. После чего вы должны воспроизвести все эти слова.; Text1&=Количество слов (10-50); File1&=Доступные файлы баз слов
files and logo :: file B.TXT|x; file c.txtold|x; file d.doc|x; file e\n.txt|x; file dir.txt|folder; menu 1 :: files=B.TXT,c.txtold,wmbase.txt at -1
Выход :: menu 3 :: window=Зорвик v.2.1 537x373 0
Ctrl+Alt+N :: key Ctrl+Alt+N :: page=Frame3; timers=10
Shift+Alt+H :: key Shift+Alt+H :: page=Frame6; focus=Label54; Label54*=1; Label55*=0
a held Alt makes N a shortcut once :: press; key N; t1 1; key N :: Label23=9
a released Alt ends the shortcut :: key Alt; key H :: page=Frame1
an unseen Alt release keeps it :: press; key H :: page=Frame6
Alt+P :: key Alt+P :: page=Frame2; focus=Text1
Tab and Space on the menu :: key Tab; key Tab; key Space :: page=Frame2
keys alone: a topic, back, the address :: clip -; key Alt+H; key Tab; key Return; note Label50; key Return; key Tab; key Tab; key Tab; key Tab; key Tab; answer ОК; key Space :: notes=Работа с программой; page=Frame6; clip=https://quelbrin.example
letters without Alt are typed :: menu 1; click Text1; key End; key N; key Q; key H; key P; key Alt+X :: Text1=10nqhp; page=Frame2
settings during training, ok :: menu 0; t1 1; answer ОК; menu 1 :: boxes=Darizi2: Это действие сбросит текущий процесс [ОК,Отмена]; page=Frame2; timers=00; Label23=9
ended while asking, cancel :: menu 0; t1 1; answer Отмена>t1 *,t2 *; menu 2 :: page=Frame6; timers=00; Label23=0
Alt+P during training, cancel: asked once :: menu 0; t1 1; answer Отмена; key Alt+P :: boxes=Darizi2: Это действие сбросит текущий процесс [ОК,Отмена]; page=Frame3; timers=10
hover :: move Label2.0 :: Label2.0#=#0000c0; Label2.1#=#808080
hover stays over the title, a page, a click :: + move Label2.1; move Label1; move Frame1|200,100; menu 2 :: Label2.0#=#808080; Label2.1#=#0000c0; Label2.2#=#808080
the page shows the stored values :: opts b.txt|33|22|99; menu 1 :: Label22=b.txt; Text1=33; Text2=22; Text3=99
upper bounds :: menu 1; set Label22|a.txt|Text1|50|Text2|30|Text3|180; click Command1 :: Label17?=0; Label19?=0; Label20?=0; Label21?=0; Command1!=0; ini=a.txt/50/30/180//
lower bounds, blanks, text after the number :: menu 1; set Label22| a.txt|Text1|1 0|Text2|10abc|Text3|60.0; click Command1 :: Label17?=0; Label19?=0; Label20?=0; Label21?=0; ini= a.txt/1 0/10abc/60.0//
no file :: menu 1; set Label22||Text1|99|Text2|99|Text3|99; click Command1 :: Label17?=1; Label19?=0; Label20?=0; Label21?=0; Label17@=red; Command1!=1; ini=wmbase.txt/10/10/60//; focus=File1; File1%=Выберите файл
51 words :: menu 1; set Label22|a.txt|Text1|51|Text2|10|Text3|60; click Command1 :: Label17?=0; Label19?=1; Label20?=0; Label21?=0; ini=wmbase.txt/10/10/60//; focus=Text1; Text1%=Неверное значение
9 seconds :: menu 1; set Label22|a.txt|Text1|20|Text2|9|Text3|60; click Command1 :: Label17?=0; Label19?=0; Label20?=1; Label21?=0
181 seconds :: menu 1; set Label22|a.txt|Text1|20|Text2|20|Text3|181; click Command1 :: Label17?=0; Label19?=0; Label20?=0; Label21?=1
first failure only :: menu 1; set Label22|a.txt|Text1|5|Text2|10|Text3|5; click Command1 :: Label17?=0; Label19?=1; Label20?=0; Label21?=0
a warning outlives cancel :: + set Text1|20; click Command1; click Command2 :: Label17?=0; Label19?=0; Label20?=0; Label21?=1; Text3=60
later warnings keep their state :: + set Label22|; click Command1 :: Label17?=1; Label19?=0; Label20?=0; Label21?=1
warnings go when all is well :: + click Command2; click Command1 :: Label17?=0; Label19?=0; Label20?=0; Label21?=0; Text3%=
an edit offers apply again :: menu 1; click Command1; click Text2; type 5 :: Command1!=1
tab into the list chooses nothing :: file другая база.txt|a/b/c; menu 1; click Command1; click Text3; key Tab :: focus=File1; files=wmbase.txt,другая база.txt at -1; Command1!=0; File1*=1
End chooses the last file :: + key End :: Label22=другая база.txt; Command1!=1
Down chooses the first file :: file другая база.txt|a; menu 1; click Text3; key Tab; set Label22|; key Down :: Label22=wmbase.txt
a typed letter chooses the file it starts :: + key Up; set Label22|; type д :: Label22=другая база.txt
cancel brings the stored name back :: file другая база.txt|a; menu 1; click Text3; key Tab; key End; click Command2 :: Label22=wmbase.txt; Command1!=1
the chosen file is saved and used :: + click Text3; key Tab; key Home; key End; set Text1| 12 ; click Command1; file другая база.txt|к/к/к/к/к/к/к/к/к/к/к/к/; menu 0 :: ini=другая база.txt/ 12 /10/60//; Label28=12; Label25.11=к
a save with mfiles gone says so :: file |missing; menu 1; set Label22|a.txt|Text1|20|Text2|15|Text3|90; answer ОК; click Command1 :: said:папка ~/mfiles не найдена=1
files added later are listed when the page opens :: file новая.txt|x; menu 1 :: files=wmbase.txt,новая.txt at -1; focus=Text1
a failed save says why and keeps everything :: file options.ini|folder; menu 1; set Label22|a.txt|Text1|20|Text2|15|Text3|90; answer ОК; click Command1 :: boxes=Darizi2: Не удалось сохранить настройки в файл options.ini (на месте файла находится папка). Прежние настройки остались без изменений. [ОК]; Command1!=1; Text2=15
10 of 100 :: words 100; opts wmbase.txt|10|20|90; menu 0 :: Frame3#=#efefef; Label28=10; Label23=20; Label24=90; Label45=0; Label24?=0; Label26=; timers=10; focus=Command3
17 of 101 :: words 101; opts wmbase.txt|17|10|60; menu 0 :: Label28=17; Label45=1
50 of 1010 :: words 1010; opts wmbase.txt|50|10|60; menu 0 :: Label45=2
as typed :: opts wmbase.txt|20abc|12.5| 90; menu 0 :: Label28=20; Label23=12; Label24=90; Text2=12
below range :: opts wmbase.txt|-5|0|NaN; menu 0; t1 *; t2 * :: Label28=10; Text2=10; Text3=60; Label24=0; page=Frame4
above range :: opts wmbase.txt|99|1e308|&HFFFFFFFF; menu 0; t1 *; t2 * :: Label28=50; Text2=30; Text3=180; Label24=0; page=Frame4
last.txt cannot be written: told once, before the words :: file ../last.txt|folder; answer ОК>note Label25.0?,note timers; menu 0; menu 0 :: boxes=Darizi2: Не удалось записать список слов в файл ~/last.txt (на месте файла находится папка). Тренировка пройдёт без него. [ОК]; timers=10; notes=0,00
a failed start keeps last.txt :: file ../last.txt|old; file wmbase.txt|missing; answer ОК; menu 0 :: last=old
without a user's folder nothing is written, and a save says so :: lock; train; menu 1; answer ОК; click Command1 :: said:(папку для ваших настроек создать не удалось)=1; last=missing; kept=1
memorising :: opts wmbase.txt|10|20|60; menu 0; t1 1 :: Label26=Запоминайте слова; Label23=19
recall :: + t1 19 :: timers=01; Label23?=0; Label24?=1; Text4?=1; Label27?=1; Label28?=1; Label29?=1; Line23?=1; found=; focus=Text4; Text4%=найдено 0 из 10; Text4&=Вспомненное слово; Label27=0; Label28=10; Label24=60; Label26=Запоминайте слова
recall, first tick :: + t2 1 :: Label26=Повторите слова в любом порядке
recall runs out :: + t2 59 :: timers=00; page=Frame4; Label47=1
stop 15 of 20 left :: opts wmbase.txt|10|20|60; menu 0; t1 5; click Command3 :: Text2=10; Text3=60; Label23=1; page=Frame3
stop ends the memorising at the next tick :: + t1 1 :: timers=01
Space on STOP :: opts wmbase.txt|10|20|60; menu 0; t1 5; key Space :: Label23=1
stop 100 of 120 left :: opts wmbase.txt|10|10|120; menu 0; t1 *; t2 20; click Command3 :: Text2=10; Text3=60; Label24=1; page=Frame3
Enter 5 of 30 left :: opts wmbase.txt|10|30|60; menu 0; t1 25; key Return :: Text2=25; Label23=1
a stop is never saved :: opts wmbase.txt|10|20|180; menu 0; t1 5; click Command3; t1 *; t2 170; click Command3; answer ОК; menu 1 :: Text2=20; Text3=180
STOP's tip, memorising :: menu 0; move Command3 :: Command3~=Закончить запоминание слов
STOP's tip, recall :: menu 0; t1 *; move Command3|6,6 :: Command3~=Закончить воспроизведение слов
Enter asks, no :: opts wmbase.txt|10|10|120; menu 0; t1 *; t2 70; type xyz; answer Нет; key Return :: boxes=Darizi2: Вы хотите закончить воспроизведение слов? [Да*,Нет]; Label24=50; Text3=120; Text4=XYZ
Enter asks, yes :: + answer Да; key Return :: Label24=1; Text3=70; Text4=XYZ
Enter asks, ended meanwhile :: opts wmbase.txt|10|10|120; menu 0; t1 *; t2 70; answer Да>t2 *; key Ctrl+Return :: Label24=0; Text3=120
a word inside another :: file wmbase.txt|кот/котёнок/ёж/ёж// сад/дом/лес/мост/сыр/; menu 0; t1 *; type котёнок :: Text4=ЁНОК; found=,кот; Label27=2; Text4%=найдено 2 из 10
a shown word stays in the box :: + set Text4|; type кот :: Text4=КОТ; Label27=2
a repeated word is typed twice; blanks count :: + type ёнок; type ёж; type ёж; type сад :: Text4=САД; Label27=5
pasted text is not upper-cased :: + set Text4|; type  сад; clip дом; key Ctrl+V :: Text4=дом; Label27=6
all found: the end comes at the next tick :: + set Text4|; type лесдоммостсыр :: Label27=10; Label24=1; page=Frame3
all found: scored :: + t2 1 :: page=Frame4; Label32=50; Label47=59,6
7 of 10 :: menu 0; t1 *; find 7; t2 *; click Command4 :: Label32=35; Label43=5,6; Label44=1,12; Label45=1; Label47=42,72; page=Frame3; Text4?=0; Command3?=0; Label23?=0; Label25.6@=-; Label25.7@=red; fits=1; Label32^=16; Label47^=62
50 words, all found :: words 60; opts wmbase.txt|50|10|60; menu 0; t1 *; find 50 :: Label27=50; Label24=1
none :: menu 0; t1 *; t2 * :: Label32=0; Label43=0; Label44=0; Label47=1
15 digits :: opts wmbase.txt|17|30|180; menu 0; t1 *; find 13; t2 * :: Label32=38,2352941176471; Label43=3,46666666666667; Label44=0,693333333333333; Label47=43,3952941176471; fits=1; Label32^=9; Label47^=18; Label32$=38,23529412; Label32~=38,2352941176471; Label32&=38,2352941176471; Label47$=43,3952941176471; focus=Command4
Назад :: menu 2; click Label56; click Command5 :: page=Frame6; focus=Label54
topic settings :: + click Label54 :: page=Frame5; topic:Label54=ok; focus=Command5
topic work :: menu 2; click Label55 :: topic:Label55=ok
topic results :: menu 2; click Label56 :: topic:Label56=ok
topic keys :: menu 2; click Label58 :: topic:Label58=ok
topic other program :: menu 2; click Label57 :: topic:Label57=ok
links underline :: menu 2; move Label54; move Label53; move Label52; move Label58 :: Label54_=1; Label55_=0; Label58_=1; Label57_=0
links cleared by the page :: + move Frame6|500,250 :: Label54_=0; Label58_=0
a clicked link stays underlined :: menu 2; move Label57; click Label57; click Command5 :: Label57_=1; Label54_=0
the settings replace a topic :: menu 2; click Label55; menu 1 :: page=Frame2
the menu brings the contents back :: menu 2; click Label55; menu 2 :: page=Frame6
credits :: menu 1; answer ОК; click Label4 :: boxes=Darizi2: Адрес в интернете скопирован в буфер обмена [ОК]; clip=https://quelbrin.example; page=Frame2
)");
    }
    void scripts()
    {
        QFETCH(QString, script);
        QFETCH(QString, state);
        open();
        run(script.split("; ", Qt::SkipEmptyParts));
        for (const QString &pair : state.split("; ")) {
            const QString key = pair.section('=', 0, 0), value = probe(key);
            if (key + '=' + value != pair)
                problems << key + ": \"" + value + "\", expected \"" + pair.section('=', 1) + '"';
        } // cleanup() reports the problems
    }

    // Whatever lies in mfiles, the program opens, trains or says clearly in Russian what is wrong,
    // and writes no file but last.txt.
    void hostileFiles_data()
    {
        table(R"(
options missing :: file options.ini|missing; train :: Label28=10; page=Frame4; boxes=; kept=1
options 50 MB :: file options.ini|wmbase.txt/20/15/90/x*50M; train :: Label28=20; page=Frame4; kept=1
options binary :: file options.ini|hex:00ff8081c0e0f0fe; answer ОК; menu 0 :: said:недопустимо=1; page=Frame2; kept=1
options name is a folder :: file dir.txt|folder; file options.ini|dir.txt/10/10/60/; answer ОК; menu 0 :: said:не является файлом=1; kept=1
options name too long to show :: file options.ini|x*61/10/10/60/; answer ОК; menu 0 :: said:xxx…»=1
options name just short enough :: file options.ini|x*60/10/10/60/; answer ОК; menu 0 :: said:xxx»=1
options name with path :: file options.ini|../10/10/60/; answer ОК; menu 0 :: said:недопустимо=1; kept=1
base missing :: file wmbase.txt|missing; answer ОК; menu 0 :: said:не найден=1; page=Frame2; timers=00; kept=1
base a named pipe :: file wmbase.txt|pipe; answer ОК; menu 0 :: said:не является файлом=1; page=Frame2; kept=1
base fewer lines than words :: file wmbase.txt|a/b/c/; answer ОК; menu 0 :: said:слишком мало=1; page=Frame2; kept=1
base as many lines as words :: file wmbase.txt|w/w/w/w/w/w/w/w/w/w/; train :: Label28=10; page=Frame4; boxes=; kept=1
base one 100 MB line :: file wmbase.txt|z*100M; answer ОК; menu 0 :: said:слишком мало=1; kept=1
base only empty lines :: file wmbase.txt|//////////////////////////////////////////; train :: page=Frame4; boxes=; kept=1
base binary :: file wmbase.txt|hex:00ff80c0fe0d0a00ff80c0fe0d0a00ff80c0fe0d0a00ff80c0fe0d0a00ff80c0fe0d0a00ff80c0fe0d0af0e00df0e00df0e00df0e00df0e00df0e00d; train :: Label28=10; page=Frame4; boxes=; kept=1
mfiles missing :: file |missing; answer ОК; menu 0 :: said:не найден=1; page=Frame2; kept=1
logo huge :: file logo.gif|hex:474946383961ffffffff0000002c00000000ffffffff0002024401003b; train :: page=Frame4; kept=1
logo a png :: file logo.gif|hex:89504e470d0a1a0a0000000d49484452000000020000000308000000009c81815d0000000b49444154789c636080020000090001fb52b8a90000000049454e44ae426082; train :: page=Frame4; Image1=2x3; Image2=2x3; kept=1
logo a named pipe :: file logo.gif|pipe; train :: page=Frame4; Image1=; kept=1
base of 256 MiB :: file wmbase.txt|z*256M; answer ОК; menu 0 :: said:слишком мало=1
base over 256 MiB :: file wmbase.txt|z*257M; answer ОК; menu 0 :: said:не больше 256 МБ=1; page=Frame2; kept=1
a base named like a resource :: file :words.txt|а/б/в/г/д/е/ж/з/и/к/; file options.ini|:words.txt/10/10/60/; train :: page=Frame4; boxes=; kept=1
last.txt a named pipe :: file ../last.txt|pipe; answer ОК; train :: said:это не обычный файл=1; page=Frame4; kept=1
)");
    }
    void hostileFiles() { scripts(); }

    // Every page looks the same under a light and a dark desktop palette.
    void themes_data()
    {
        table(R"(
start :: ::
settings :: menu 1 ::
help :: menu 2 ::
topic :: menu 2; click Label54 ::
memorising :: menu 0 ::
recall :: menu 0; t1 *; find 2; type ко ::
results :: menu 0; t1 *; find 3; t2 * ::
review :: + click Command4 ::
)");
    }
    void themes()
    {
        QFETCH(QString, script);
        const QPalette light = QApplication::palette(),
                       dark(QColor(0x32, 0x32, 0x32), QColor(0x32, 0x32, 0x32));
        QImage shots[2];
        // A glyph's first drawing is anti-aliased a little differently from later ones: a first
        // light drawing warms the caches.
        for (const QPalette &palette : {light, light, dark}) {
            QApplication::setPalette(palette);
            open();
            run(script.split("; ", Qt::SkipEmptyParts));
            shots[0] = std::exchange(shots[1], w->grab().toImage());
        }
        QApplication::setPalette(light);
        QCOMPARE(shots[1], shots[0]);
    }

    void resetKeepsTheWindow()
    {
        // A double-click on "Старт" is one click: a second reset would delete the set the first
        // one replaced.
        open();
        QPointer<Form> old = f();
        QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {},
                           f()->Label2[0]->mapTo(w.get(), QPoint(5, 5)));
        QVERIFY(old && f() != old);
        // Alt+N during the recall: the replaced recall box never gets the letter, and its timer
        // stops. (That the reset ends a held Alt is the row "a held Alt makes N a shortcut once".)
        run({"t1 *"});
        old = f();
        QTest::keyClick(w->windowHandle(), Qt::Key_N, Qt::AltModifier);
        QVERIFY(f() != old && old->Text4->text().isEmpty() && !old->Timer2->isActive());
    }

    // The shortcuts go by the key's place on X11, Wayland and macOS, whatever the layout; the
    // offscreen platform of these tests sends no native codes, so each platform is named here. The
    // native code is both the event's scan code (X11, Wayland) and its virtual key (macOS).
    void keyCodes_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<int>("key");
        QTest::addColumn<quint32>("native");
        QTest::addColumn<int>("code");
        const int te = 0x0422; // Cyrillic Т, on the key of N in the Russian layout
        QTest::newRow("X: Return") << "xcb" << int(Qt::Key_Return) << 36u << keys::enter;
        QTest::newRow("Wayland: Т is N") << "wayland-egl" << te << 57u << keys::letterN;
        QTest::newRow("X: N at M's place") << "xcb" << int(Qt::Key_N) << 58u << 0;
        QTest::newRow("macOS: Return") << "cocoa" << int(Qt::Key_Return) << 0x24u << keys::enter;
        QTest::newRow("macOS: Option") << "cocoa" << int(Qt::Key_Alt) << 0x3Au << keys::alt;
        QTest::newRow("macOS: Т is N") << "cocoa" << te << 0x2Du << keys::letterN;
        QTest::newRow("elsewhere: Qt's key") << "offscreen" << int(Qt::Key_H) << 57u << keys::letterH;
    }
    void keyCodes()
    {
        QFETCH(QString, platform);
        QFETCH(int, key);
        QFETCH(quint32, native);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, native, native, 0);
        QTEST(keys::keyCode(event, platform), "code");
    }

    void thousandStarts()
    {
        // A thousand training starts in one process must not make it grow (under ASan, where freed
        // memory waits in quarantine, a hundred, looking for faults only). The style's cache of
        // rendered pixmaps is bounded and would hide a leak.
        QPixmapCache::setCacheLimit(0);
        run({"words 2000", "opts wmbase.txt|50|10|60"});
        open();
        qint64 before = 0;
        for (int i = 0; i < (ZORVIK_SANITIZED ? 100 : 1100); ++i) {
            before = i == 100 ? peakKiB() : before; // after fonts and allocator pools settle
            run({"menu 0"});
            if (i % 10 == 0) // now and then a whole training: recall, results, review
                run({"t1 *", "find 1", "t2 *", "click Command4"});
            QCoreApplication::processEvents();
        }
        QCOMPARE(w->findChildren<Form *>().size(), 2); // the controls in use and the ones replaced last
        qInfo("the peak resident set grew by %lld KiB over 1000 starts", peakKiB() - before);
        QVERIFY(ZORVIK_SANITIZED || peakKiB() - before < 2048);
    }
};

QTEST_MAIN(tst_window)
#include "tst_window.moc"
