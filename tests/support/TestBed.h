#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/Program.h"
#include "platform/PosixFileServices.h"
#include "support/FailingFileServices.h"
#include "support/FakeDesktop.h"

namespace scorvane::testing {

// A fresh temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

class FakeDrives final : public DriveProvider {
public:
    std::vector<std::string> MountPoints() override { return mounts; }
    std::vector<std::string> mounts;
};

struct TestBedOptions {
    std::string commandLine;
    std::string localeName = "en_US";
    bool fixedRandom = true;
};

// A program over the real file services (with failures on cue) and the fake desktop, its program
// folder and a work folder inside a fresh temporary folder, every handler wired. The program folder's
// English.lng holds the marker texts (Lang[n] = "L<n>").
class TestBed {
public:
    explicit TestBed(TestBedOptions options = {});

    Program& program() { return *program_; }
    std::string ProgramFolder() const { return dir_.path() + "/program"; }
    // A path in the work folder.
    std::string Work(const std::string& name) const { return dir_.path() + "/work/" + name; }
    const std::string& Root() const { return dir_.path(); }

    // Installs a language file of the given lines (each gets "NN=" before it) in Files/Lang.
    void InstallLanguage(const std::string& fileName, const std::vector<std::string>& texts);
    // Installs a language file with its raw content as given.
    void InstallRawLanguage(const std::string& fileName, const std::string& content);
    // Installs a language file of the marker texts ("L1", "L2", ...), as English.lng is from the start.
    void InstallMarkerLanguage(const std::string& fileName);
    // Installs one of the shipped language files.
    void InstallShippedLanguage(const std::string& fileName);
    // Puts Lang[n] = "L<n>" for every n, so that texts can be recognised.
    void UseMarkerTexts();

    TempDir dir_;
    PosixFileServices posix;
    FailingFileServices files{posix};
    FakeDesktop desktop;
    FakeDrives drives;

private:
    std::unique_ptr<Program> program_;
};

// Whole-file helpers.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool PathExists(const std::string& path);
std::vector<std::string> FolderEntries(const std::string& path);
// Makes `root` and the entries below it: names ending in '/' are folders, every other one a file holding
// its own name.
void MakeTree(const std::string& root, const std::vector<std::string>& entries);
// Sets or clears the file's immutable flag; false where the file system has none.
bool SetImmutable(const std::string& path, bool on);

}  // namespace scorvane::testing
