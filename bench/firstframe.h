#pragma once

// The start-up probes' clock. mark() notes a stage as "name ns" (CLOCK_MONOTONIC, which the
// parent process shares); FirstFrame adds "paint" when a widget of the window gets its first paint
// event and "frame" when that first frame is complete, prints all marks on standard output and
// ends the event loop.
//
// A window covered by opaque children never gets a paint event of its own, so the whole
// application is watched. The frame is complete once the event that painted it has returned:
// every widget has painted and the backing store was flushed.

#include "benchutil.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>

inline QByteArray &stageMarks()
{
    static QByteArray marks;
    return marks;
}

inline void mark(const char *stage)
{
    stageMarks() += QByteArray(stage) + ' ' + QByteArray::number(benchutil::monotonicNs()) + '\n';
}

class FirstFrame : public QObject
{
public:
    explicit FirstFrame(QWidget *window) : m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || m_painted)
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || widget->window() != m_window)
            return false;
        m_painted = true;
        mark("paint");
        // Queued: runs after the painting and flushing that this paint event belongs to.
        QMetaObject::invokeMethod(
            this,
            [] {
                mark("frame");
                std::fputs(stageMarks().constData(), stdout);
                std::fflush(stdout);
                QCoreApplication::quit();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    QWidget *m_window;
    bool m_painted = false;
};
