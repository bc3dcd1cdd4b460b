#include "desktop/DesktopEntry.h"

#include <QApplication>
#include <string>
#include <vector>

#include "app/Wiring.h"
#include "desktop/Artwork.h"
#include "desktop/QtDesktop.h"
#include "desktop/StandardTexts.h"
#include "desktop/StopSignalWatch.h"
#include "model/Program.h"
#include "platform/PosixFileServices.h"
#include "startup/Settings.h"

namespace scorvane {

int RunDesktop(int argc, char* argv[], const std::function<int(Program&)>& instead) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    // A run keeps going while its progress window replaces the main window.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(WindowIcon());
    LoadStandardTexts(application);

    PosixFileServices files;
    SystemDrives drives;
    QtDesktop desktop;
    Program program(Platform{files, desktop, desktop, drives, ProcessFacts::FromArguments(arguments), {}, {}});
    WireHandlers(program);
    if (instead) return instead(program);
    const StopSignalWatch stopSignals(program);
    Main(program);
    return QApplication::exec();
}

}  // namespace scorvane
