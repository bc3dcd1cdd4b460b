// scorvane-gui-bench gui-folder METHOD PATH
//   runs the destroy-folder command on the tree PATH by METHOD through the program's real Qt views and
//   yields, as on screen (on Qt's offscreen platform unless QT_QPA_PLATFORM names another), and prints
//   the seconds it took. A case that did no work says so on stderr and exits 1.
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "FolderRun.h"
#include "GivenDrives.h"
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
    if (argc < 4 || std::string(argv[1]) != "gui-folder") {
        std::fprintf(stderr, "usage: scorvane-gui-bench gui-folder METHOD PATH\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(OnceEach);
    int qtArgc = 1;  // Qt takes no word of the case's own
    QApplication application(qtArgc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    PosixFileServices files;
    GivenDrives drives;
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
    return RunFolderCase(program, std::atoi(argv[2]), argv[3], messages);
}
