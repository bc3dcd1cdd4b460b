// scorvane-bench wipe METHOD PATH    wipes PATH by METHOD and prints the seconds it took
// scorvane-bench folder METHOD PATH  runs the destroy-folder command on the tree PATH by METHOD and prints
//                                    the seconds it took
// scorvane-bench random MIB          generates MIB MiB of random bytes and prints the seconds it took
// scorvane-bench space METHOD MOUNT  wipes the free space of the filesystem mounted at MOUNT by METHOD
//                                    (fill, flush, clean-up) and prints the seconds it took
// A case that did no work (the file or tree still there, fewer bytes written than it had to write, an
// unexpected message) says so on stderr and exits 1.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "FolderRun.h"
#include "GivenDrives.h"
#include "HeadlessDesktop.h"
#include "WorkCheck.h"
#include "app/Wiring.h"
#include "engine/FreeSpaceWipe.h"
#include "engine/OneFileWipe.h"
#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/PosixFileServices.h"
#include "platform/RandomStream.h"
#include "ui/DriveList.h"

namespace {

using Clock = std::chrono::steady_clock;

int Usage() {
    std::fprintf(stderr,
                 "usage: scorvane-bench wipe METHOD PATH | folder METHOD PATH | random MIB | space METHOD MOUNT\n");
    return 2;
}

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

int RandomCase(std::size_t mebibytes) {
    auto random = scorvane::RandomStream::FromSystem();
    std::vector<std::uint8_t> block(1024 * 1024);
    const auto start = Clock::now();
    for (std::size_t i = 0; i < mebibytes; ++i) random->Fill(block);
    std::printf("%.3f\n", SecondsSince(start));
    return 0;
}

// The bytes the fill can take: all of the free space for root, the caller's share otherwise.
std::uint64_t FillableBytes(const std::string& mount, bool root) {
    std::error_code error;
    const auto space = std::filesystem::space(mount, error);
    if (error) return 0;
    return root ? space.free : space.available;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace scorvane;
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    if (command == "random") return RandomCase(std::strtoul(argv[2], nullptr, 10));
    if ((command != "wipe" && command != "space" && command != "folder") || argc < 4) return Usage();
    const int method = std::atoi(argv[2]);
    const std::string path = argv[3];

    PosixFileServices files;
    HeadlessDesktop desktop;
    // The free-space fill works only on a listed drive: the one given is the list.
    GivenDrives drives(command == "space" ? std::vector<std::string>{path} : std::vector<std::string>{});
    ProcessFacts facts;
    facts.programFolder = ExecutableFolder();
    facts.runsAsRoot = ::geteuid() == 0;
    Program program(Platform{files, desktop, desktop, drives, facts, {}, {}});
    WireHandlers(program);
    if (command == "folder") return RunFolderCase(program, method, path, desktop.messages);

    const auto before = BytesWrittenSoFar();
    if (!before) return Failed("/proc/self/io cannot be read, so what was written cannot be checked");
    if (command == "space") {
        Form1& form = program.form1();
        form.Drive1.items = {path};
        form.Drive1.listIndex = 0;
        form.Combo1.listIndex = method;
        Drive1_Change(program);
        const std::uint64_t fillable = FillableBytes(path, facts.runsAsRoot);
        if (fillable == 0) return Failed(path + " has no free space to fill");
        const auto start = Clock::now();
        WipeSpace(program, path);
        std::printf("%.3f\n", SecondsSince(start));
        const std::uint64_t written = BytesWrittenSoFar().value_or(0) - *before;
        // A finished run fills (nearly) all the free space, shows its one end message and leaves no
        // fill folder behind.
        if (written < fillable / 10 * 9) {
            return Failed("wrote " + std::to_string(written) + " bytes into " + std::to_string(fillable) +
                          " bytes of free space");
        }
        if (files.KindOf(JoinPath(path, kFillFolderName)) != EntryKind::Missing) return Failed("the fill folder stays");
        if (desktop.messages != 1) return Failed("the run showed " + std::to_string(desktop.messages) + " messages");
        return 0;
    }

    const std::uint64_t bytes = BytesInTree(path);
    if (bytes == 0) return Failed(path + " is no file with data");
    const auto start = Clock::now();
    WipeFile(program, path, method);
    std::printf("%.3f\n", SecondsSince(start));
    const std::uint64_t written = BytesWrittenSoFar().value_or(0) - *before;
    if (NameExists(path)) return Failed(path + " is still there");
    if (written < bytes) return Failed("wrote " + std::to_string(written) + " bytes over " + std::to_string(bytes));
    if (desktop.messages != 0) return Failed("the run showed " + std::to_string(desktop.messages) + " messages");
    return 0;
}
