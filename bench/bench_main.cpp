// scorvane-bench wipe METHOD PATH   wipes PATH by METHOD and prints the seconds it took
// scorvane-bench random MIB         generates MIB MiB of random bytes and prints the seconds it took
// scorvane-bench space METHOD MOUNT  wipes the free space of the filesystem mounted at MOUNT by METHOD
//                                    (fill, flush, clean-up) and prints the seconds it took
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "HeadlessDesktop.h"
#include "app/Wiring.h"
#include "engine/FreeSpaceWipe.h"
#include "engine/OneFileWipe.h"
#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/PosixFileServices.h"
#include "platform/RandomStream.h"
#include "ui/DriveList.h"

namespace {

class NoDrives final : public scorvane::DriveProvider {
public:
    std::vector<std::string> MountPoints() override { return {}; }
};

int Usage() {
    std::fprintf(stderr, "usage: scorvane-bench wipe METHOD PATH | random MIB | space METHOD MOUNT\n");
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace scorvane;
    using Clock = std::chrono::steady_clock;
    if (argc < 3) return Usage();
    const std::string command = argv[1];

    if (command == "random") {
        const std::size_t mebibytes = std::strtoul(argv[2], nullptr, 10);
        auto random = RandomStream::FromSystem();
        std::vector<std::uint8_t> block(1024 * 1024);
        const auto start = Clock::now();
        for (std::size_t i = 0; i < mebibytes; ++i) random->Fill(block);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("%.3f\n", seconds);
        return 0;
    }
    if ((command != "wipe" && command != "space") || argc < 4) return Usage();

    PosixFileServices files;
    HeadlessDesktop desktop;
    NoDrives drives;
    ProcessFacts facts;
    facts.programFolder = ExecutableFolder();
    facts.runsAsRoot = ::geteuid() == 0;
    Program program(Platform{files, desktop, desktop, drives, facts, {}, {}});
    WireHandlers(program);
    const int method = std::atoi(argv[2]);
    if (command == "space") {
        const std::string mount = argv[3];
        Form1& form = program.form1();
        form.Drive1.items = {mount};
        form.Drive1.listIndex = 0;
        form.Combo1.listIndex = method;
        Drive1_Change(program);
        const auto start = Clock::now();
        WipeSpace(program, mount);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("%.3f\n", seconds);
        // A finished run shows its one end message and leaves no fill folder behind.
        const bool cleaned = files.KindOf(JoinPath(mount, kFillFolderName)) == EntryKind::Missing;
        return desktop.messages == 1 && cleaned ? 0 : 1;
    }
    const auto start = Clock::now();
    WipeFile(program, argv[3], method);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%.3f\n", seconds);
    return desktop.messages == 0 ? 0 : 1;
}
