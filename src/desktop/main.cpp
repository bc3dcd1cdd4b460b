#include <QApplication>
#include <string>
#include <vector>

#include "app/Wiring.h"
#include "desktop/Artwork.h"
#include "desktop/QtDesktop.h"
#include "model/Program.h"
#include "platform/PosixFileServices.h"
#include "startup/Settings.h"

int main(int argc, char* argv[]) {
    using namespace scorvane;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    QApplication application(argc, argv);
    // A run keeps going while its progress window replaces the main window.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(WindowIcon());

    PosixFileServices files;
    SystemDrives drives;
    QtDesktop desktop;
    Program program(Platform{files, desktop, desktop, drives, ProcessFacts::FromArguments(arguments), {}, {}});
    WireHandlers(program);
    Main(program);
    return QApplication::exec();
}
