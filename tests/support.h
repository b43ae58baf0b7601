#pragma once

// Shared scaffolding for the window tests: a scratch program directory, answering message boxes,
// typing text the way a keyboard does.
#include "app/frmvaruva.h"
#include "common/paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// A program directory of the test's own, with mfiles/ holding options.ini and word bases.
class ScratchProgram
{
public:
    ScratchProgram()
    {
        QDir(dir.path()).mkdir(QStringLiteral("mfiles"));
        paths::setProgramDir(dir.path());
        writeOptions("wmbase.txt", "10", "10", "60");
        writeBase("wmbase.txt", 200);
    }
    ~ScratchProgram() { paths::setProgramDir(QString()); }
    Q_DISABLE_COPY(ScratchProgram)

    QString path(const QString &relative) const { return dir.filePath(relative); }

    void write(const QString &relative, const QByteArray &bytes) const
    {
        QFile file(path(relative));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(relative));
        file.write(bytes);
    }

    QByteArray read(const QString &relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void writeOptions(const QString &base, const QString &words, const QString &memorise, const QString &recall) const
    {
        QStringEncoder cp1251("windows-1251");
        write(QStringLiteral("mfiles/options.ini"),
              cp1251.encode(base + "\r\n" + words + "\r\n" + memorise + "\r\n" + recall + "\r\n\r\n"));
    }

    // A base of distinct Cyrillic words "слово0", "слово1", ... in Windows-1251.
    void writeBase(const QString &name, int lines) const
    {
        QStringList words;
        for (int i = 0; i < lines; ++i)
            words << QStringLiteral("слово%1").arg(i);
        writeWords(name, words);
    }

    void writeWords(const QString &name, const QStringList &words) const
    {
        QStringEncoder cp1251("windows-1251");
        QString text;
        for (const QString &w : words)
            text += w + "\r\n";
        write("mfiles/" + name, cp1251.encode(text));
    }

    QTemporaryDir dir;
};

// What a message box showed before the test answered it.
struct BoxSeen {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
};

// Answers the next modal message box by clicking the button with the given caption; `meanwhile`
// runs first, while the box is still open (a timer tick, say).
inline void answerNextBox(const QString &caption, BoxSeen *seen = nullptr, std::function<void()> meanwhile = {})
{
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(5, *attempt);
            return;
        }
        if (seen) {
            seen->shown = true;
            seen->title = box->windowTitle();
            seen->text = box->text();
            seen->icon = box->icon();
            for (QAbstractButton *b : box->buttons())
                seen->buttons << b->text();
            seen->defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        }
        if (meanwhile)
            meanwhile();
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == caption) {
                b->click();
                return;
            }
        }
        qWarning("no button %s", qPrintable(caption));
        box->reject();
    };
    QTimer::singleShot(0, *attempt);
}

// Types text key by key into a widget, as a keyboard would (QTest::keyClicks cannot type Cyrillic).
inline void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Key events go where a keyboard would send them: to the focused control, else to the window.
inline QWidget *keyTarget(frmvaruva &w)
{
    QWidget *focus = QApplication::focusWidget();
    return focus && focus->window() == &w ? focus : &w;
}

inline void altKey(frmvaruva &w, Qt::Key key, Qt::KeyboardModifiers extra = Qt::NoModifier)
{
    QTest::keyPress(keyTarget(w), Qt::Key_Alt, Qt::AltModifier | extra);
    QTest::keyClick(keyTarget(w), key, Qt::AltModifier | extra);
    QTest::keyRelease(keyTarget(w), Qt::Key_Alt, extra);
}

inline void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
