#include "FolderRun.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "WorkCheck.h"
#include "engine/ProgressWindow.h"
#include "model/Program.h"
#include "startup/Settings.h"
#include "ui/DestroyFolderCommand.h"

namespace scorvane {

int RunFolderCase(Program& program, int method, const std::string& path, const int& messages, const RunHooks& hooks) {
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, error))) {
        return Failed(path + " is no folder");
    }
    const std::uint64_t bytes = BytesInTree(path);
    if (bytes == 0) return Failed(path + " holds no data");

    Main(program);
    program.windows().Yield();
    Form1& form = program.form1();
    form.Combo1.listIndex = method;
    form.FolderToWipe = path;
    const auto before = BytesWrittenSoFar();
    if (!before) return Failed("/proc/self/io cannot be read, so what was written cannot be checked");

    const auto start = std::chrono::steady_clock::now();
    if (hooks.started) hooks.started();
    Command3_Click(program);
    UnloadDialogIfLoaded(program);
    form.Show();
    program.windows().Yield();
    if (hooks.ended) hooks.ended();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f\n", seconds);

    const std::uint64_t written = BytesWrittenSince(*before);
    if (NameExists(path)) return Failed(path + " is still there");
    if (written < bytes) {
        return Failed("wrote " + std::to_string(written) + " bytes over a tree of " + std::to_string(bytes));
    }
    if (messages != 0) return Failed("the run showed " + std::to_string(messages) + " message(s)");
    return 0;
}

}  // namespace scorvane
