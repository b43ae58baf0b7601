// One start of a program for bench_process, up to the first complete frame of its window. It
// prints "frame ns" (CLOCK_MONOTONIC, which the parent shares). Built twice: bench_probe_bare is
// an empty QWidget (with the argument "label", one line of text in it); bench_probe is the
// program's own start-up as its main() does it, on the program folder given as the argument, and
// after the frame it starts a training and prints "peak KiB" (the largest resident set so far),
// "words n" (the words shown) and "level n" (the base's size level).

#include <QApplication>
#include <QWidget>

#include <cstdio>
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

namespace
{

// Watches the whole application, since a window covered by opaque children never gets a paint
// event of its own. The frame is complete once the event that painted its first widget has
// returned: every widget has painted and the backing store was flushed.
class FirstFrame : public QObject
{
public:
    FirstFrame(QWidget *window, std::function<void()> then) : m_window(window), m_then(std::move(then))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() != QEvent::Paint || !m_then || !widget || widget->window() != m_window)
            return false;
        QMetaObject::invokeMethod(this, std::exchange(m_then, nullptr), Qt::QueuedConnection);
        return false;
    }

private:
    QWidget *m_window;
    std::function<void()> m_then;
};

void frame()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    std::printf("frame %lld\n", static_cast<long long>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec);
}

} // namespace

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
            shown += slot->isVisibleTo(window.controls()->Frame3) ? 1 : 0;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("peak %ld\nwords %d\nlevel %s\n", usage.ru_maxrss,
                    window.controls()->Timer1->isActive() ? shown : -1,
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
