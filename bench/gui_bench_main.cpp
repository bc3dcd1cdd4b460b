// scorvane-gui-bench gui-folder METHOD PATH   the destroy-folder command on the tree PATH by METHOD
// scorvane-gui-bench gui-wipe METHOD PATH     WipeFile on the file PATH by METHOD
// scorvane-gui-bench gui-space METHOD MOUNT   fills and releases the free space of MOUNT by METHOD
//   each through the program's real Qt views and yields, as on screen (on Qt's offscreen platform unless
//   QT_QPA_PLATFORM names another); prints the seconds the run took, then "gap N ms ...": the longest time
//   the event loop went without a turn during the run, the longest the window could not repaint and
//   Cancel or Esc waited. A case that did no work says so on stderr and exits 1.
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "EventLoopGaps.h"
#include "FileRun.h"
#include "FolderRun.h"
#include "GivenDrives.h"
#include "SpaceRun.h"
#include "app/Wiring.h"
#include "desktop/QtDesktop.h"
#include "model/Program.h"
#include "platform/PosixFileServices.h"

namespace {
// Qt's own warnings once each: the offscreen platform says at every show that it cannot raise a window.
void OnceEach(QtMsgType, const QMessageLogContext&, const QString& message) {
    static std::set<QString> said;
    if (said.insert(message).second) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}
}  // namespace

int main(int argc, char* argv[]) {
    using namespace scorvane;
    const std::string command = argc < 2 ? "" : argv[1];
    if (argc < 4 || (command != "gui-folder" && command != "gui-wipe" && command != "gui-space")) {
        std::fprintf(stderr, "usage: scorvane-gui-bench gui-folder|gui-wipe|gui-space METHOD PATH\n");
        return 2;
    }
    const int method = std::atoi(argv[2]);
    const std::string path = argv[3];
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(OnceEach);
    int qtArgc = 1;  // Qt takes no word of the case's own
    QApplication application(qtArgc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    PosixFileServices files;
    // The free-space fill works only on a listed drive: the one given is the list.
    GivenDrives drives(command == "gui-space" ? std::vector<std::string>{path} : std::vector<std::string>{});
    QtDesktop desktop;
    ProcessFacts facts;
    facts.programFolder = ExecutableFolder();
    facts.runsAsRoot = ::geteuid() == 0;
    Program program(Platform{files, desktop, desktop, drives, facts, {}, {}});
    WireHandlers(program);

    // Nobody answers a message box here: each is counted, shown on stderr and closed.
    int messages = 0;
    QTimer boxes;
    QObject::connect(&boxes, &QTimer::timeout, [&messages] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (box == nullptr || !box->isVisible()) continue;
            ++messages;
            std::fprintf(stderr, "message: %s\n", box->text().toLocal8Bit().constData());
            box->done(QMessageBox::No);
        }
    });
    boxes.start(100);

    EventLoopGaps gaps;
    const RunHooks hooks{[&gaps] { gaps.Start(); }, [&gaps] { gaps.Stop(); }};
    const int status = command == "gui-folder" ? RunFolderCase(program, method, path, messages, hooks)
                       : command == "gui-wipe" ? RunWipeCase(program, method, path, messages, hooks)
                                               : RunSpaceCase(program, method, path, facts.runsAsRoot, messages, hooks);
    std::printf("gap %.1f ms (ending %.3f s into the run, %ld turns)\n", gaps.LongestMilliseconds(),
                gaps.LongestEndedAt(), gaps.turns());
    return status;
}
