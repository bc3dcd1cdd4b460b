#include "FileRun.h"

#include <chrono>
#include <cstdio>

#include "WorkCheck.h"
#include "engine/OneFileWipe.h"
#include "model/Program.h"

namespace scorvane {

int RunWipeCase(Program& program, int method, const std::string& path, const int& messages, const RunHooks& hooks) {
    const std::uint64_t bytes = BytesInTree(path);
    if (bytes == 0) return Failed(path + " is no file with data");
    const auto before = BytesWrittenSoFar();
    if (!before) return Failed("/proc/self/io cannot be read, so what was written cannot be checked");
    const auto start = std::chrono::steady_clock::now();
    if (hooks.started) hooks.started();
    WipeFile(program, path, method);
    if (hooks.ended) hooks.ended();
    std::printf("%.3f\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    const std::uint64_t written = BytesWrittenSince(*before);
    if (NameExists(path)) return Failed(path + " is still there");
    if (written < bytes) return Failed("wrote " + std::to_string(written) + " bytes over " + std::to_string(bytes));
    if (messages != 0) return Failed("the run showed " + std::to_string(messages) + " messages");
    return 0;
}

}  // namespace scorvane
