// The program's own start-up, as its main() does it, up to the first complete frame of the window.
// The only addition: the folder of the program's files can come from the first argument.

#include "app/frmvaruva.h"
#include "common/paths.h"
#include "firstframe.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    mark("main");
    QApplication app(argc, argv);
    mark("application");
    QApplication::setApplicationName(QStringLiteral("zorvik"));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quelbrin.Zorvik"));
    if (argc > 1)
        paths::setDataDir(QString::fromLocal8Bit(argv[1]));
    else
        paths::setUp();
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/zorvik-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    mark("icon");
    frmvaruva window;
    mark("window");
    FirstFrame probe(&window);
    window.show();
    mark("show");
    return app.exec();
}
