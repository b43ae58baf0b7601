#include "frmvaruva.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorvik"));
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/zorvik-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    frmvaruva window;
    window.show();
    return app.exec();
}
