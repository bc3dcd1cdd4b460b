#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <set>

#include "desktop/FramePace.h"
#include "model/Window.h"
#include "platform/WindowServices.h"

namespace scorvane {

// The window services and the window host over Qt Widgets: message boxes, dialogs, the event loop,
// and one view per loaded window, brought up to date from its model at every yield and event.
class QtDesktop final : public WindowServices, public WindowHost {
public:
    // `endProgram` must not return; by default it ends the process at once.
    explicit QtDesktop(std::function<void()> endProgram = {});
    ~QtDesktop() override;

    int MessageBox(const std::string& text, int style, const std::string& title) override;
    void Yield() override;
    bool RepaintDue() override;
    void Beep() override;
    Result<CommandEnd> RunCommandLine(const std::string& commandLine) override;
    void ShellOpen(const std::string& target) override;
    [[noreturn]] void EndProgram(int status = 0) override;
    double MonotonicSeconds() override;
    std::string PickFolder(const std::string& title, unsigned flags) override;
    std::vector<std::string> PickFiles(const std::string& title, const std::vector<FileFilter>& filters,
                                       const std::string& initialFolder, bool multiple) override;

    void Shown(Window& window) override;
    void Hidden(Window& window) override;
    void Unloaded(Window& window) override;
    void Refresh(Window& window) override;
    void RunModal(Window& window) override;

    // Every view up to date with its model.
    void SyncAll();
    QWidget* ViewOf(const Window& window) const;

private:
    QWidget* EnsureView(Window& window);
    QWidget* ActiveParent() const;

    std::function<void()> endProgram_;
    std::map<const Window*, QPointer<QWidget>> views_;
    std::map<const Window*, QEventLoop*> modalLoops_;
    std::set<const Window*> centred_;
    std::vector<QPointer<QWidget>> leaving_;  // unloaded views waiting for their deletion
    QElapsedTimer monotonic_;
    FramePace pace_{[this] { SyncAll(); }};  // of the syncs at yields
    static constexpr qint64 kEventTurnNs = 1'000'000;
    QElapsedTimer eventTurn_;  // since the event loop last turned at a yield
};

}  // namespace scorvane
