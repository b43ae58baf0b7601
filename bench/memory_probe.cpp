// One run of the program for bench_memory: the window is shown, a training is started on the word
// base that the program directory (first argument) names, and the peak resident set size is printed
// after each stage as "stage KiB" (VmHWM), with "words n" for the words the start picked and
// "level n" for the base-size level it rated the base with.

#include "app/frmvaruva.h"
#include "benchutil.h"
#include "common/paths.h"

#include <QApplication>

#include <cstdio>

#include <sys/resource.h>

namespace
{
void report(const char *stage)
{
    std::printf("%s %lld\n", stage, static_cast<long long>(benchutil::peakRssKiB()));
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    QApplication app(argc, argv);
    paths::setDataDir(QString::fromLocal8Bit(argv[1]));
    report("application");
    frmvaruva window;
    window.show();
    QCoreApplication::processEvents();
    report("window");
    window.startAction();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    report("start");
    int shown = 0;
    for (vb::Label *slot : window.controls()->Label25)
        shown += slot->isVisibleTo(window.controls()->Frame3) ? 1 : 0;
    std::printf("words %d\n", window.controls()->Timer1->isActive() ? shown : -1);
    // The base-size level the start rated the base with: 2 for more than 1 000 lines.
    std::printf("level %s\n", qPrintable(window.controls()->Label45->caption()));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("maxrss %ld\n", usage.ru_maxrss);
    return 0;
}
