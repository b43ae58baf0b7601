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

    void writeOptions(const QString &base, const QString &words, const QString &memorise,
                      const QString &recall) const
    {
        QStringEncoder cp1251("windows-1251");
        write(QStringLiteral("mfiles/options.ini"),
              cp1251.encode(base + "\r\n" + words + "\r\n" + memorise + "\r\n" + recall + "\r\n\r\n"));
    }

    // A base of distinct Cyrillic words "слово0к", "слово1к", ..., none the beginning of another.
    void writeBase(const QString &name, int lines) const
    {
        QStringList words;
        for (int i = 0; i < lines; ++i)
            words << QStringLiteral("слово%1к").arg(i);
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

// Answers the next modal message box by clicking the button with the given caption, and records
// what the box showed. `meanwhile` runs first, while the box is still open (a timer tick, say).
// Stops looking when it goes out of scope.
class BoxAnswer : public QObject
{
public:
    explicit BoxAnswer(const QString &caption, std::function<void()> meanwhile = {})
        : m_caption(caption), m_meanwhile(std::move(meanwhile))
    {
        connect(&m_poll, &QTimer::timeout, this, &BoxAnswer::attempt);
        m_poll.start(5);
    }

    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;

private:
    void attempt()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        m_poll.stop();
        shown = true;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton *b : box->buttons())
            buttons << b->text();
        defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        if (m_meanwhile)
            m_meanwhile();
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == m_caption) {
                b->click();
                return;
            }
        }
        qWarning("no button %s", qPrintable(m_caption));
        box->reject();
    }

    QString m_caption;
    std::function<void()> m_meanwhile;
    QTimer m_poll;
};

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
