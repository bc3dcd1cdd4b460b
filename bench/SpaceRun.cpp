#include "SpaceRun.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "WorkCheck.h"
#include "engine/FreeSpaceWipe.h"
#include "model/Program.h"
#include "platform/Paths.h"
#include "ui/DriveList.h"

namespace scorvane {

namespace {
// The bytes the fill can take: all of the free space for root, the caller's share otherwise.
std::uint64_t FillableBytes(const std::string& mount, bool root) {
    std::error_code error;
    const auto space = std::filesystem::space(mount, error);
    if (error) return 0;
    return root ? space.free : space.available;
}
}  // namespace

int RunSpaceCase(Program& program, int method, const std::string& mount, bool root, const int& messages,
                 const RunHooks& hooks) {
    const auto before = BytesWrittenSoFar();
    if (!before) return Failed("/proc/self/io cannot be read, so what was written cannot be checked");
    Form1& form = program.form1();
    form.Drive1.items = {mount};
    form.Drive1.listIndex = 0;
    form.Combo1.listIndex = method;
    Drive1_Change(program);
    const std::uint64_t fillable = FillableBytes(mount, root);
    if (fillable == 0) return Failed(mount + " has no free space to fill");
    const auto start = std::chrono::steady_clock::now();
    if (hooks.started) hooks.started();
    WipeSpace(program, mount);
    if (hooks.ended) hooks.ended();
    std::printf("%.3f\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    const std::uint64_t written = BytesWrittenSince(*before);
    // A finished run fills (nearly) all the free space, shows its one end message and leaves no fill
    // folder behind.
    if (written < fillable / 10 * 9) {
        return Failed("wrote " + std::to_string(written) + " bytes into " + std::to_string(fillable) +
                      " bytes of free space");
    }
    if (program.files().KindOf(JoinPath(mount, kFillFolderName)) != EntryKind::Missing) {
        return Failed("the fill folder stays");
    }
    if (messages != 1) return Failed("the run showed " + std::to_string(messages) + " messages");
    return 0;
}

}  // namespace scorvane
