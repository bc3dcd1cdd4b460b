// scorvane-bench wipe METHOD PATH   wipes PATH by METHOD and prints the seconds it took
// scorvane-bench random MIB         generates MIB MiB of random bytes and prints the seconds it took
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "HeadlessDesktop.h"
#include "app/Wiring.h"
#include "engine/OneFileWipe.h"
#include "model/Program.h"
#include "platform/PosixFileServices.h"
#include "platform/RandomStream.h"

namespace {

class NoDrives final : public scorvane::DriveProvider {
public:
    std::vector<std::string> MountPoints() override { return {}; }
};

int Usage() {
    std::fprintf(stderr, "usage: scorvane-bench wipe METHOD PATH | random MIB\n");
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
    if (command != "wipe" || argc < 4) return Usage();

    PosixFileServices files;
    HeadlessDesktop desktop;
    NoDrives drives;
    ProcessFacts facts;
    facts.programFolder = ExecutableFolder();
    Program program(Platform{files, desktop, desktop, drives, facts, {}, {}});
    WireHandlers(program);
    const int method = std::atoi(argv[2]);
    const auto start = Clock::now();
    WipeFile(program, argv[3], method);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%.3f\n", seconds);
    return desktop.messages == 0 ? 0 : 1;
}
