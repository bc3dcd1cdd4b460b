#include "ui/DriveList.h"

#include <cstdlib>
#include <string>

#include "model/Program.h"

namespace scorvane {

FixedPoint4 FreeSpaceTotal(std::uint64_t bytes) {
    std::uint64_t thousands = bytes / 1000;
    const std::uint64_t rest = bytes % 1000;
    if (rest > 500 || (rest == 500 && thousands % 2 == 1)) ++thousands;
    return FixedPoint4{static_cast<std::int64_t>(thousands)};
}

void FillDriveList(Program& program) {
    DriveListBox& drives = program.form1Unloaded().Drive1;
    drives.items = program.drives().MountPoints();
    drives.listIndex = drives.items.empty() ? -1 : 0;
    const char* home = std::getenv("HOME");
    if (home == nullptr) return;
    const std::string homeFolder = std::string(home) + "/";
    std::size_t longest = 0;
    for (std::size_t i = 0; i < drives.items.size(); ++i) {
        std::string mount = drives.items[i];
        if (mount.empty() || mount.back() != '/') mount += '/';
        if (homeFolder.compare(0, mount.size(), mount) == 0 && mount.size() > longest) {
            longest = mount.size();
            drives.listIndex = static_cast<int>(i);
        }
    }
}

void Drive1_Change(Program& program) {
    Form1& form = program.form1();
    std::uint64_t freeBytes = 0;
    if (const auto space = program.files().QueryFreeSpace(form.Drive1.Drive())) {
        // The space the running user can fill; for root that is all of the free space.
        freeBytes = program.facts().runsAsRoot ? space.value().totalFree : space.value().freeToCaller;
    }
    form.ProgressTotal = FreeSpaceTotal(freeBytes);
}

}  // namespace scorvane
