#include "common/paths.h"
#include "frmvaruva.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The name gives the user's data folder, ~/.local/share/zorvik; the desktop entry's name lets
    // a Wayland desktop match the window to its menu entry and icon.
    QApplication::setApplicationName(QStringLiteral("zorvik"));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quelbrin.Zorvik"));
    const QString folderError = paths::setUp();
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/zorvik-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    frmvaruva window;
    window.show();
    if (!folderError.isEmpty())
        window.message(folderError);
    return app.exec();
}
