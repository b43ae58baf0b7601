// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/paths.h"
#include "common/version.h"
#include "frmvaruva.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstdio>
#include <optional>

namespace
{
// --help and --version answer on standard output and need no display, so they are read before the
// application starts. Any other argument is ignored. Returns the exit status when they were asked.
std::optional<int> answerOptions(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    // Qt's own single-dash options (-reverse, -platformtheme) must not read as -v or -h.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({help, version});
    parser.parse(arguments);
    QString text;
    if (parser.isSet(version)) {
        text = QStringLiteral("Зорвик " ZORVIK_VERSION "\n");
    } else if (parser.isSet(help)) {
        text = QStringLiteral("Использование: zorvik [-h | --help] [-v | --version]\n"
                              "Тренажёр зрительной памяти: запомните слова за отведённое время, затем\n"
                              "воспроизведите их. Без параметров открывает окно программы.\n"
                              "\n"
                              "  -h, --help     показать эту справку и выйти\n"
                              "  -v, --version  показать версию программы и выйти\n");
    } else {
        return std::nullopt;
    }
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = answerOptions(argc, argv))
        return *status;
    QApplication app(argc, argv);
    // Drawn alike on every desktop: the colours are the window's own, and so are the controls' shapes.
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The name gives the user's data folder, ~/.local/share/zorvik, and the window's WM_CLASS, which
    // the desktop entry's StartupWMClass names; the desktop entry's name lets a Wayland desktop
    // match the window to its menu entry and icon.
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
