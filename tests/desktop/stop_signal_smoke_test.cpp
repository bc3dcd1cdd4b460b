// A stop signal during a free-space fill in the real event loop: SIGTERM is taken as a click on Cancel at
// the fill's next yield, so the fill files go and the drive, a 2 MiB tmpfs the test mounts, has its space
// back; the process goes on.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/statvfs.h>

#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <thread>

#include "DesktopProgram.h"
#include "desktop/StopSignalWatch.h"
#include "desktop/ViewSupport.h"
#include "engine/FreeSpaceWipe.h"
#include "support/MountedTmpfs.h"

namespace scorvane::testing {
namespace {

std::uint64_t FreeBytes(const std::string& dir) {
    struct statvfs info {};
    ::statvfs(dir.c_str(), &info);
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

// The desktop's window services, with SIGTERM sent to the process at the first yield that finds `fillFile`
// made. Each yield waits 2 ms first, so that every yield turns the event loop.
class SignalMidFill final : public WindowServices {
public:
    explicit SignalMidFill(QtDesktop& desktop) : desktop_(desktop) {}
    std::string fillFile;
    bool sent = false;

    int MessageBox(const std::string& text, int style, const std::string& title) override {
        return desktop_.MessageBox(text, style, title);
    }
    void Yield() override {
        if (!sent && !fillFile.empty() && PathExists(fillFile)) sent = ::raise(SIGTERM) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        desktop_.Yield();
    }
    void Beep() override { desktop_.Beep(); }
    // No test starts the shutdown tool.
    Result<CommandEnd> RunCommandLine(const std::string&) override { return MakeFailure(FailureNumber::FileNotFound); }
    void ShellOpen(const std::string& target) override { desktop_.ShellOpen(target); }
    [[noreturn]] void EndProgram(int status = 0) override { desktop_.EndProgram(status); }
    double MonotonicSeconds() override { return desktop_.MonotonicSeconds(); }
    std::string PickFolder(const std::string& title, unsigned flags) override {
        return desktop_.PickFolder(title, flags);
    }
    std::vector<std::string> PickFiles(const std::string& title, const std::vector<FileFilter>& filters,
                                       const std::string& initialFolder, bool multiple) override {
        return desktop_.PickFiles(title, filters, initialFolder, multiple);
    }

private:
    QtDesktop& desktop_;
};

TEST(DesktopStopSignals, ASigtermDuringAFillStopsItAsCancelAndTheDriveHasItsSpaceBack) {
    SignalMidFill* windows = nullptr;
    DesktopProgram app([&windows](QtDesktop& desktop) {
        auto made = std::make_unique<SignalMidFill>(desktop);
        windows = made.get();
        return made;
    });
    const std::string mount = app.dir.path() + "/disk";
    MountedTmpfs disk(mount, "2m");
    SKIP_UNLESS_MOUNTED(disk);
    windows->fillFile = mount + "/QV/zzzzzzz.z1";
    const std::uint64_t freeBefore = FreeBytes(mount);
    app.drives.mounts = {mount};
    Program& program = *app.program;
    program.form1().Combo1.listIndex = 1;
    const StopSignalWatch watch(program);

    std::vector<QString> boxes;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&boxes] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes.push_back(box->text());
            box->done(QMessageBox::Ok);
        }
    });
    closer.start(5);
    WipeSpace(program, mount);

    EXPECT_TRUE(windows->sent);
    EXPECT_EQ(program.CancelFlag, 1);
    EXPECT_TRUE(FolderEntries(mount).empty());
    EXPECT_EQ(FreeBytes(mount), freeBefore);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], ToDisplay(program.Lang[Text::Cancelled]));
}

}  // namespace
}  // namespace scorvane::testing
