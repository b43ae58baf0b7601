#pragma once

// Scaffolding for the window tests: a scratch program directory, answering message boxes, typing.
#include "app/frmvaruva.h"
#include "common/paths.h"
#include "rows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// A program directory of the test's own: mfiles/ with options.ini and a base of distinct words
// "слово0к", "слово1к", ... (none the beginning of another).
struct ScratchProgram {
    QTemporaryDir dir;
    ScratchProgram(int lines = 200)
    {
        QDir(dir.path()).mkdir("mfiles");
        paths::setDataDir(dir.path());
        writeOptions("wmbase.txt", "10", "10", "60");
        QStringList words;
        for (int i = 0; i < lines; ++i)
            words << QString("слово%1к").arg(i);
        writeText("mfiles/wmbase.txt", words.join("\r\n") + "\r\n");
    }
    ~ScratchProgram() { paths::setDataDir(QString()); }
    QString path(const QString &relative) const { return dir.filePath(relative); }
    void write(const QString &relative, const QByteArray &bytes) const
    {
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void writeText(const QString &relative, const QString &text) const { write(relative, cp1251(text)); }
    QByteArray read(const QString &relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeOptions(const QString &base, const QString &words, const QString &memorise,
                      const QString &recall) const
    {
        writeText("mfiles/options.ini", QStringList{base, words, memorise, recall, "\r\n"}.join("\r\n"));
    }
};

// Clicks the button with the given caption in the next modal box and records what the box showed;
// `meanwhile` runs first, while the box is open. Stops looking when it goes out of scope.
struct BoxAnswer : QObject {
    bool shown = false;
    QString title, text, defaultButton;
    QStringList buttons;
    bool icon = false;
    QTimer poll;
    BoxAnswer(const QString &caption, std::function<void()> meanwhile = {})
    {
        connect(&poll, &QTimer::timeout, this, [=, this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            shown = true;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon() != QMessageBox::NoIcon;
            defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            for (QAbstractButton *b : box->buttons())
                buttons << b->text();
            if (meanwhile)
                meanwhile();
            for (QAbstractButton *b : box->buttons())
                if (b->text() == caption)
                    return b->click();
            box->reject();
        });
        poll.start(5);
    }
};

// Types text key by key, as a keyboard would (QTest::keyClicks cannot type Cyrillic).
inline void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// A fresh window on a scratch program, shown and active.
struct WindowTest {
    std::unique_ptr<ScratchProgram> program;
    std::unique_ptr<frmvaruva> w;
    Form *f() const { return w->controls(); }
    void open(int lines = 200)
    {
        w.reset();
        if (!program)
            program = std::make_unique<ScratchProgram>(lines);
        w = std::make_unique<frmvaruva>();
        w->setSeed(42);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void close()
    {
        w.reset();
        program.reset();
    }
    void memorise()
    {
        for (int i = 0; i < 100 && f()->Timer1->isActive(); ++i)
            w->Timer1_Timer();
    }
    void recall(int ticks = 1000)
    {
        for (int i = 0; i < ticks && f()->Timer2->isActive(); ++i)
            w->Timer2_Timer();
    }
};
