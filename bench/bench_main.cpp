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
#include <string>
#include <vector>

#include "FileRun.h"
#include "FolderRun.h"
#include "GivenDrives.h"
#include "HeadlessDesktop.h"
#include "SpaceRun.h"
#include "WorkCheck.h"
#include "app/Wiring.h"
#include "model/Program.h"
#include "platform/PosixFileServices.h"
#include "platform/RandomStream.h"

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

    if (command == "space") return RunSpaceCase(program, method, path, facts.runsAsRoot, desktop.messages);
    return RunWipeCase(program, method, path, desktop.messages);
}
