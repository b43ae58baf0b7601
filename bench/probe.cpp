// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// One start of a program for bench_process, up to the first complete frame of its window: prints
// "frame ns" (CLOCK_MONOTONIC, which the parent shares). bench_probe_bare is an empty QWidget (with
// the argument "label", one line of text in it). bench_probe is the program's own start-up as its
// main() does it, on the program folder given as the argument; after the frame it starts a
// training and prints "peak KiB" (the largest resident set), "words n" (the words shown) and
// "level n" (the base's size level).

#include <QApplication>
#include <QWidget>

#include <ctime>
#include <functional>

#include <sys/resource.h>

#ifdef ZORVIK_PROBE
#include "app/frmvaruva.h"
#include "common/paths.h"

#include <QIcon>
#else
#include <QLabel>
#endif

// Runs its function once the first frame of the window is complete: once the event that painted
// the first of its widgets has returned, every widget has painted and the backing store was
// flushed. It watches the whole application, since a window covered by opaque children never gets
// a paint event of its own.
class FirstFrame : public QObject
{
public:
    FirstFrame(QWidget *window, std::function<void()> then) : m_window(window), m_then(std::move(then))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Paint && m_then && widget && widget->window() == m_window)
            QMetaObject::invokeMethod(this, std::exchange(m_then, nullptr), Qt::QueuedConnection);
        return false;
    }

private:
    QWidget *m_window;
    std::function<void()> m_then;
};

static void frame()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    std::printf("frame %lld\n", static_cast<long long>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
#ifdef ZORVIK_PROBE
    QApplication::setApplicationName(QStringLiteral("zorvik"));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quelbrin.Zorvik"));
    paths::setDataDir(QString::fromLocal8Bit(argc > 1 ? argv[1] : "."));
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/zorvik-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    frmvaruva window;
    FirstFrame probe(&window, [&window] {
        frame();
        window.startAction();
        QCoreApplication::processEvents();
        int shown = 0;
        for (vb::Label *slot : window.controls()->Label25)
            shown += slot->isVisibleTo(window.controls()->Frame3) && window.controls()->Timer1->isActive();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("peak %ld\nwords %d\nlevel %s\n", usage.ru_maxrss, shown,
                    qPrintable(window.controls()->Label45->caption()));
        QCoreApplication::quit();
    });
#else
    QWidget window;
    if (argc > 1)
        new QLabel(QStringLiteral("Зорвик v.2.1"), &window);
    FirstFrame probe(&window, [] {
        frame();
        QCoreApplication::quit();
    });
#endif
    window.show();
    return app.exec();
}
