#pragma once

#include <chrono>
#include <cstdlib>

#include "model/Window.h"
#include "platform/WindowServices.h"

namespace scorvane {

// Window services that draw nothing and answer every question with its default, for benchmarks.
class HeadlessDesktop final : public WindowServices, public WindowHost {
public:
    int MessageBox(const std::string& text, int style, const std::string& title) override;
    void Yield() override {}
    bool RepaintDue() override { return false; }
    void Beep() override {}
    Result<CommandEnd> RunCommandLine(const std::string&) override { return MakeFailure(FailureNumber::FileNotFound); }
    void ShellOpen(const std::string&) override {}
    [[noreturn]] void EndProgram(int status = 0) override { std::exit(status); }
    double MonotonicSeconds() override;
    std::string PickFolder(const std::string&, unsigned) override { return {}; }
    std::vector<std::string> PickFiles(const std::string&, const std::vector<FileFilter>&, const std::string&,
                                       bool) override {
        return {};
    }
    void Shown(Window&) override {}
    void Hidden(Window&) override {}
    void Unloaded(Window&) override {}
    void Refresh(Window&) override {}
    void RunModal(Window& window) override { window.Unload(); }

    int messages = 0;
};

}  // namespace scorvane
