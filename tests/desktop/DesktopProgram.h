#pragma once

#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/Wiring.h"
#include "desktop/QtDesktop.h"
#include "model/Program.h"
#include "platform/PosixFileServices.h"
#include "startup/Settings.h"
#include "support/TestBed.h"

namespace scorvane::testing {

inline constexpr int kEndedCode = 3;

// A program started on the Qt desktop in a fresh folder holding the shipped English texts; ending it
// leaves the process with kEndedCode. `makeWindows`, when given, makes the window services over the desktop.
class DesktopProgram {
public:
    using MakeWindows = std::function<std::unique_ptr<WindowServices>(QtDesktop&)>;

    // Ending the program skips every destructor: the temporary folder goes first.
    explicit DesktopProgram(const MakeWindows& makeWindows = {})
        : desktop([this] {
              std::error_code ignored;
              std::filesystem::remove_all(dir.path(), ignored);
              std::_Exit(kEndedCode);
          }) {
        std::filesystem::create_directories(dir.path() + "/Files/Lang");
        std::filesystem::copy_file(std::string(SCORVANE_SOURCE_DIR) + "/resources/Files/Lang/English.lng",
                                   dir.path() + "/Files/Lang/English.lng");
        drives.mounts = {dir.path()};
        if (makeWindows) windows = makeWindows(desktop);
        ProcessFacts facts;
        facts.programFolder = dir.path();
        facts.major = 2;
        facts.minor = 5;
        facts.revision = 15;
        program = std::make_unique<Program>(Platform{files, windows ? *windows : desktop, desktop, drives, facts,
                                                     nullptr, [] { return std::string("United States"); }});
        WireHandlers(*program);
        Main(*program);
        QApplication::processEvents();
    }

    QWidget& MainView() {
        QWidget* view = desktop.ViewOf(program->form1());
        if (view == nullptr) throw std::runtime_error("no main window view");
        return *view;
    }
    template <typename Widget = QWidget>
    Widget& Find(QWidget& view, const char* name) {
        auto* widget = view.findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) throw std::runtime_error(std::string("no widget ") + name);
        return *widget;
    }

    TempDir dir;
    PosixFileServices files;
    QtDesktop desktop;
    std::unique_ptr<WindowServices> windows;  // the desktop itself serves when empty
    FakeDrives drives;
    std::unique_ptr<Program> program;
};

}  // namespace scorvane::testing
