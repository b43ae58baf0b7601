// The least a Qt Widgets program does to show a window: an empty QWidget, up to its first frame.
// With the argument "label" the window holds one line of text, so the font set-up that any text
// costs is paid too.

#include "firstframe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char *argv[])
{
    mark("main");
    QApplication app(argc, argv);
    mark("application");
    QWidget window;
    if (argc > 1 && std::strcmp(argv[1], "label") == 0)
        new QLabel(QStringLiteral("Зорвик v.2.1"), &window);
    mark("window");
    FirstFrame probe(&window);
    window.show();
    mark("show");
    return app.exec();
}
