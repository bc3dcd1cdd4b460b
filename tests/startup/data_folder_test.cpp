// Where the program writes its own files: a program folder that cannot be written, or that was installed
// for every user, keeps the settings and the folder command's temporary file in the user's own folder and
// is itself never written; a writable program folder keeps its own settings.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "app/Wiring.h"
#include "platform/DataFolder.h"
#include "startup/Settings.h"
#include "support/ForwardingFileServices.h"
#include "support/MountedTmpfs.h"
#include "support/TestBed.h"
#include "ui/DestroyFolderCommand.h"

namespace scorvane::testing {
namespace {

namespace fs = std::filesystem;

// Counts, for each path, the files created or emptied there for writing.
class WriteCounter final : public ForwardingFileServices {
public:
    using ForwardingFileServices::ForwardingFileServices;
    Result<FileHandle> Open(const std::string& path, OpenMode mode) override {
        auto opened = ForwardingFileServices::Open(path, mode);
        if (opened && mode == OpenMode::TextOutput) ++writes[path];
        return opened;
    }
    std::map<std::string, int> writes;
};

// An environment variable set, or removed, for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// One start of the program as main() makes it: the data folder found by the rule.
struct Start {
    Start(const std::string& programFolder, FileServices& files) {
        ProcessFacts facts;
        facts.programFolder = programFolder;
        facts.dataFolder = ProgramDataFolder(programFolder);
        program = std::make_unique<Program>(
            Platform{files, desktop, desktop, drives, facts, nullptr, [] { return std::string("United States"); }});
        WireHandlers(*program);
        Main(*program);
    }
    Form1& form() { return program->form1(); }

    FakeDesktop desktop;
    FakeDrives drives;
    std::unique_ptr<Program> program;
};

// Every entry below `root` with its size, to see that nothing was added, changed or removed.
std::map<std::string, std::uintmax_t> Snapshot(const std::string& root) {
    std::map<std::string, std::uintmax_t> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        entries[entry.path().string()] = entry.is_regular_file() ? entry.file_size() : 0;
    return entries;
}

class DataFolder : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_UNLESS_MOUNTED(tmpfs);
        fs::create_directories(programFolder + "/Files/Lang");
        for (const char* language : {"English.lng", "German.lng"}) {
            fs::copy_file(std::string(SCORVANE_SOURCE_DIR) + "/resources/Files/Lang/" + language,
                          programFolder + "/Files/Lang/" + language);
        }
    }

    int WritesUnder(const std::string& folder) const {
        int count = 0;
        for (const auto& [path, times] : files.writes)
            if (path.starts_with(folder + "/")) count += times;
        return count;
    }

    TempDir dir;
    std::string programFolder = dir.path() + "/program";
    std::string config = dir.path() + "/config";
    std::string own = config + "/scorvane";
    MountedTmpfs tmpfs{programFolder, "1m"};
    ScopedVariable xdg{"XDG_CONFIG_HOME", config};
    PosixFileServices posix;
    WriteCounter files{posix};
};

TEST_F(DataFolder, ReadOnlyProgramFolderKeepsSettingsAndTemporaryFileInTheUsersOwnFolder) {
    ASSERT_TRUE(tmpfs.RemountReadOnly());
    const auto installed = Snapshot(programFolder);

    // The first start makes the user's folder, private to the user, and writes the settings twice there.
    {
        Start first(programFolder, files);
        EXPECT_EQ(files.writes[own + "/Scorvane.ini"], 2);
        EXPECT_EQ(ReadBytes(own + "/Scorvane.ini"), "0\r\nEnglish.lng\r\n");
        struct stat info {};
        ASSERT_EQ(::stat(own.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700u);
        first.program->LangFile = "German.lng";
        ASSERT_TRUE(first.form().Combo1.SetListIndex(5).ok());
    }

    // The second start reads the method and the language from there.
    Start second(programFolder, files);
    EXPECT_EQ(second.form().Combo1.listIndex, 5);
    EXPECT_EQ(second.program->LangFile, "German.lng");
    EXPECT_EQ(second.form().mnuEsci.caption, "Beenden");
    EXPECT_EQ(ReadBytes(own + "/Scorvane.ini"), "5\r\nGerman.lng\r\n");
    EXPECT_EQ(files.writes[own + "/Scorvane.ini"], 2 + 1 + 3);

    // The folder command writes and wipes its temporary file there too.
    MakeTree(dir.path() + "/work/A", {"a.bin", "B/", "B/b.bin"});
    second.form().FolderToWipe = dir.path() + "/work/A";
    Command3_Click(*second.program);
    EXPECT_FALSE(PathExists(dir.path() + "/work/A"));
    EXPECT_EQ(files.writes[own + "/temp.tmp"], 1);
    EXPECT_FALSE(PathExists(own + "/temp.tmp"));
    EXPECT_TRUE(second.desktop.messages.empty());

    EXPECT_EQ(WritesUnder(programFolder), 0);
    EXPECT_EQ(Snapshot(programFolder), installed);
}

TEST_F(DataFolder, InstalledProgramFolderIsNeverWrittenEvenWhenItCouldBe) {
    // Root may write the shared folder of an installed program; the settings still go to root's own folder.
    WriteBytes(programFolder + "/" + kInstalledMark, "");
    WriteBytes(programFolder + "/Scorvane.ini", "3\r\nGerman.lng\r\n");
    const auto installed = Snapshot(programFolder);

    Start start(programFolder, files);

    // The program folder's settings, for every user, are read while the user has none of their own.
    EXPECT_EQ(start.form().Combo1.listIndex, 3);
    EXPECT_EQ(start.program->LangFile, "German.lng");
    EXPECT_EQ(ReadBytes(own + "/Scorvane.ini"), "3\r\nGerman.lng\r\n");
    EXPECT_EQ(files.writes[own + "/Scorvane.ini"], 3);
    EXPECT_EQ(WritesUnder(programFolder), 0);
    EXPECT_EQ(Snapshot(programFolder), installed);
}

TEST_F(DataFolder, WritableProgramFolderKeepsItsOwnSettings) {
    EXPECT_EQ(ProgramDataFolder(programFolder), programFolder);

    Start start(programFolder, files);

    EXPECT_EQ(files.writes[programFolder + "/Scorvane.ini"], 2);
    EXPECT_EQ(ReadBytes(programFolder + "/Scorvane.ini"), "0\r\nEnglish.lng\r\n");
    EXPECT_FALSE(PathExists(config));

    // Without an absolute $XDG_CONFIG_HOME, the user's folder lies under ~/.config.
    const std::string home = dir.path() + "/home";
    fs::create_directories(home);
    const ScopedVariable homeVariable("HOME", home);
    for (const std::optional<std::string>& value : {std::optional<std::string>(), std::optional<std::string>("rel")}) {
        const ScopedVariable unset("XDG_CONFIG_HOME", value);
        EXPECT_EQ(UserDataFolder(), home + "/.config/scorvane");
    }

    // Root (through sudo, say) never takes a folder of another user: it keeps to its own home.
    if (::geteuid() == 0) {
        const passwd* root = ::getpwuid(0);
        ASSERT_NE(root, nullptr);
        ASSERT_EQ(::chown(home.c_str(), 65534, 65534), 0);
        for (const std::optional<std::string>& value :
             {std::optional<std::string>(), std::optional(home + "/.config")}) {
            const ScopedVariable other("XDG_CONFIG_HOME", value);
            EXPECT_EQ(UserDataFolder(), std::string(root->pw_dir) + "/.config/scorvane");
        }
    }
}

}  // namespace
}  // namespace scorvane::testing
