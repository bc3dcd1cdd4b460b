// Where the program writes its own files: a program folder that cannot be written, or that was installed
// for every user, keeps the settings and the folder command's temporary file in the user's own folder and
// is itself never written; a writable program folder keeps its own settings. A folder the environment
// names is taken only when it is the running user's own and no one else may write in it, and every own
// file is reached through a handle of that folder, never through a link or a file with other names.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
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

constexpr uid_t kOtherUser = 65534;

// Records the real folder of every file the program makes new (the temporary file).
class NewFiles final : public ForwardingFileServices {
public:
    using ForwardingFileServices::ForwardingFileServices;
    Result<FileHandle> Open(const std::string& path, OpenMode mode) override {
        auto opened = ForwardingFileServices::Open(path, mode);
        if (opened && mode == OpenMode::CreateNew) {
            made.push_back(fs::canonical(fs::path(path).parent_path()) / fs::path(path).filename());
        }
        return opened;
    }
    std::vector<std::string> made;
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

// One start of the program as main() makes it: the data folder found by the rule, unless one is given.
struct Start {
    Start(const std::string& programFolder, FileServices& files, std::optional<std::string> dataFolder = {}) {
        ProcessFacts facts;
        facts.programFolder = programFolder;
        if (!dataFolder) dataFolder = ProgramDataFolder(programFolder);
        facts.dataFolder = dataFolder.value_or("");
        facts.writesOwnFiles = dataFolder.has_value();
        program = std::make_unique<Program>(
            Platform{files, desktop, desktop, drives, facts, nullptr, [] { return std::string("en_US"); }});
        WireHandlers(*program);
        Main(*program);
    }
    Form1& form() { return program->form1(); }
    // A folder run over `folder`, as a drop hands it over.
    void DestroyFolder(const std::string& folder) {
        form().FolderToWipe = folder;
        Command3_Click(*program);
    }

    FakeDesktop desktop;
    FakeDrives drives;
    std::unique_ptr<Program> program;
};

// Every entry below `root` with its content (a link: its target), to see that nothing was added, changed
// or removed.
std::map<std::string, std::string> Snapshot(const std::string& root) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string path = entry.path().string();
        entries[path] = entry.is_symlink()        ? "-> " + fs::read_symlink(path).string()
                        : entry.is_regular_file() ? ReadBytes(path)
                                                  : "/";
    }
    return entries;
}

void Chown(const std::string& path, uid_t user) { ASSERT_EQ(::lchown(path.c_str(), user, user), 0) << path; }

// Runs `body` in a child process and gives its exit status (0: it ran to its end).
int InChild(const std::function<void()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        int status = 0;
        try {
            body();
        } catch (...) {
            status = 2;
        }
        ::_exit(status);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class DataFolder : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_UNLESS_MOUNTED(tmpfs);
        fs::permissions(programFolder, fs::perms(0755));  // a tmpfs starts open to everyone (1777)
        fs::create_directories(programFolder + "/Files/Lang");
        for (const char* language : {"English.lng", "German.lng"}) {
            fs::copy_file(std::string(SCORVANE_SOURCE_DIR) + "/resources/Files/Lang/" + language,
                          programFolder + "/Files/Lang/" + language);
        }
    }

    // A tree to destroy, as the folder command's temporary file is written during every folder run.
    std::string Work() const {
        MakeTree(dir.path() + "/work/A", {"a.bin", "B/", "B/b.bin"});
        return dir.path() + "/work/A";
    }

    TempDir dir;
    std::string programFolder = dir.path() + "/program";
    std::string config = dir.path() + "/config";
    std::string own = config + "/scorvane";
    MountedTmpfs tmpfs{programFolder, "1m"};
    ScopedVariable xdg{"XDG_CONFIG_HOME", config};
    PosixFileServices posix;
    NewFiles files{posix};
};

TEST_F(DataFolder, ReadOnlyProgramFolderKeepsSettingsAndTemporaryFileInTheUsersOwnFolder) {
    ASSERT_TRUE(tmpfs.RemountReadOnly());
    const auto installed = Snapshot(programFolder);

    // The first start makes the user's folder, private to the user, and writes the settings there.
    {
        Start first(programFolder, files);
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

    // The folder command writes and wipes its temporary file there too.
    second.DestroyFolder(Work());
    EXPECT_FALSE(PathExists(dir.path() + "/work/A"));
    EXPECT_EQ(files.made, std::vector<std::string>{own + "/temp.tmp"});
    EXPECT_EQ(FolderEntries(own), std::vector<std::string>{"Scorvane.ini"});
    EXPECT_TRUE(second.desktop.messages.empty());
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
    EXPECT_EQ(Snapshot(programFolder), installed);
}

TEST_F(DataFolder, WritableProgramFolderKeepsItsOwnSettingsWhenItIsTheUsersOwn) {
    EXPECT_EQ(ProgramDataFolder(programFolder), programFolder);

    Start start(programFolder, files);

    EXPECT_EQ(ReadBytes(programFolder + "/Scorvane.ini"), "0\r\nEnglish.lng\r\n");
    EXPECT_FALSE(PathExists(config));

    // A program folder that others, or another group, may write in, or that another user owns, is not written.
    ASSERT_EQ(::chmod(programFolder.c_str(), 0757), 0);
    EXPECT_EQ(ProgramDataFolder(programFolder), own);
    ASSERT_EQ(::chmod(programFolder.c_str(), 0775), 0);
    ASSERT_EQ(::lchown(programFolder.c_str(), ::geteuid(), kOtherUser), 0);
    EXPECT_EQ(ProgramDataFolder(programFolder), own);
    ASSERT_EQ(::chmod(programFolder.c_str(), 0755), 0);
    Chown(programFolder, kOtherUser);
    EXPECT_EQ(ProgramDataFolder(programFolder), own);
}

// The folder a name of the environment leads to is the user's only when it and the folder above it are
// real folders of the running user in which no one else may write; otherwise the user's own entry in the
// password database gives the folder (for root, root's own), never the environment's.
TEST_F(DataFolder, TheEnvironmentsFolderIsTakenOnlyWhenItIsTheUsersOwnAndPrivate) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder to another user needs root";
    const passwd* user = ::getpwuid(::geteuid());
    ASSERT_NE(user, nullptr);
    const std::string fromPasswd = std::string(user->pw_dir) + "/.config/scorvane";
    const std::string docs = dir.path() + "/docs";
    fs::create_directory(docs);
    struct Row {
        std::string name;
        std::function<void(const std::string&)> make;  // makes the folder named by the environment
        bool taken;
    };
    const Row rows[] = {
        {"missing", [](const std::string&) {}, true},
        {"missing, in a folder everyone may write",
         [](const std::string& at) { ::chmod(fs::path(at).parent_path().c_str(), 01777); }, false},
        {"private", [](const std::string& at) { fs::create_directory(at); }, true},
        {"with its folder", [](const std::string& at) { fs::create_directories(at + "/scorvane"); }, true},
        {"world-writable (XDG_CONFIG_HOME=/tmp)",
         [](const std::string& at) {
             fs::create_directory(at);
             ::chmod(at.c_str(), 01777);
         },
         false},
        {"its folder made by another user in it",
         [](const std::string& at) {
             fs::create_directories(at + "/scorvane");
             Chown(at + "/scorvane", kOtherUser);
         },
         false},
        {"another user's (sudo keeps HOME)",
         [](const std::string& at) {
             fs::create_directory(at);
             Chown(at, kOtherUser);
         },
         false},
        {"its folder a link",
         [&](const std::string& at) {
             fs::create_directory(at);
             fs::create_directory_symlink(docs, at + "/scorvane");
         },
         false},
        {"a link itself", [&](const std::string& at) { fs::create_directory_symlink(docs, at); }, false},
        {"its folder writable by another group",
         [](const std::string& at) {
             fs::create_directories(at + "/scorvane");
             ::chmod((at + "/scorvane").c_str(), 0770);
             ASSERT_EQ(::lchown((at + "/scorvane").c_str(), ::geteuid(), kOtherUser), 0);
         },
         false},
        {"its folder writable by the user's own private group",
         [&](const std::string& at) {
             fs::create_directories(at + "/scorvane");
             ::chmod((at + "/scorvane").c_str(), 0770);
             ASSERT_EQ(::lchown((at + "/scorvane").c_str(), ::geteuid(), user->pw_gid), 0);
         },
         true},
    };
    const std::string home = dir.path() + "/home";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // $XDG_CONFIG_HOME, or $HOME/.config without it.
        for (const bool xdgNamesIt : {true, false}) {
            fs::remove_all(dir.path() + "/xdg");
            fs::remove_all(home);
            fs::create_directory(dir.path() + "/xdg");
            fs::create_directory(home);
            const std::string base = xdgNamesIt ? dir.path() + "/xdg/env" : home + "/.config";
            row.make(base);
            const ScopedVariable xdgVariable("XDG_CONFIG_HOME", xdgNamesIt ? std::optional(base) : std::nullopt);
            const ScopedVariable homeVariable("HOME", home);
            const auto folder = UserDataFolder();
            if (row.taken) {
                EXPECT_EQ(folder, base + "/scorvane");
            } else {
                EXPECT_NE(folder, base + "/scorvane");
                // The password database's folder, unless that one fails the same checks.
                if (folder) {
                    EXPECT_EQ(*folder, fromPasswd);
                }
            }
        }
    }
}

// The folder is held from its first use: made into a link before that, it is never written through;
// made into a link after that, every write still goes to the folder that was checked.
TEST_F(DataFolder, AFolderReplacedByALinkIsNeverWrittenThrough) {
    const std::string docs = dir.path() + "/docs";
    fs::create_directories(docs);
    WriteBytes(docs + "/Scorvane.ini", "a document");
    WriteBytes(docs + "/temp.tmp", "another document");
    const auto documents = Snapshot(docs);
    fs::create_directories(own);
    ::chmod(config.c_str(), 0700);
    const std::string decided = ProgramDataFolder(dir.path() + "/no such folder").value_or("");
    ASSERT_EQ(decided, own);

    // Replaced between the choice and the first start's reads and writes.
    fs::remove(own);
    fs::create_directory_symlink(docs, own);
    {
        Start start(programFolder, files, decided);
        ASSERT_TRUE(start.form().Combo1.SetListIndex(4).ok());
        start.DestroyFolder(Work());
        EXPECT_FALSE(PathExists(dir.path() + "/work/A"));
        EXPECT_TRUE(files.made.empty());
        EXPECT_TRUE(start.desktop.messages.empty());
    }
    EXPECT_EQ(Snapshot(docs), documents);

    // Replaced once the start has opened it: the held folder, now under another name, gets every write.
    fs::remove(own);
    fs::create_directory(own);
    Start start(programFolder, files, decided);
    fs::rename(own, config + "/held");
    fs::create_directory_symlink(docs, own);
    ASSERT_TRUE(start.form().Combo1.SetListIndex(6).ok());
    start.DestroyFolder(Work());
    EXPECT_EQ(ReadBytes(config + "/held/Scorvane.ini"), "6\r\nEnglish.lng\r\n");
    EXPECT_EQ(files.made, std::vector<std::string>{config + "/held/temp.tmp"});
    EXPECT_EQ(FolderEntries(config + "/held"), std::vector<std::string>{"Scorvane.ini"});
    EXPECT_EQ(Snapshot(docs), documents);
}

// A settings or temporary file with other names (hard links), or a link in its place, is left as it is:
// the settings are not saved, the temporary file not written, and the run goes on.
TEST_F(DataFolder, OwnFilesWithOtherNamesAreLeftAsTheyAre) {
    const std::string keep = dir.path() + "/keep";
    fs::create_directories(keep);
    fs::create_directories(own);
    struct Row {
        std::string name;
        std::function<void()> make;
        int method;  // read at the start
        bool settingsLeft;
    };
    const Row rows[] = {
        {"hard-linked settings",
         [&] {
             WriteBytes(keep + "/other", "3\r\nGerman.lng\r\n");
             fs::create_hard_link(keep + "/other", own + "/Scorvane.ini");
         },
         3, true},
        {"settings a link",
         [&] {
             WriteBytes(keep + "/other", "2\r\nGerman.lng\r\n");
             fs::create_symlink(keep + "/other", own + "/Scorvane.ini");
         },
         0, true},
        {"hard-linked temporary file",
         [&] {
             WriteBytes(keep + "/other", "precious");
             fs::create_hard_link(keep + "/other", own + "/temp.tmp");
         },
         0, false},
        {"temporary file a link",
         [&] {
             WriteBytes(keep + "/other", "precious");
             fs::create_symlink(keep + "/other", own + "/temp.tmp");
         },
         0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const auto& entry : fs::directory_iterator(own)) fs::remove(entry.path());
        row.make();
        const auto kept = Snapshot(keep);
        const auto ownBefore = Snapshot(own);
        files.made.clear();

        Start start(programFolder, files, own);
        EXPECT_EQ(start.form().Combo1.listIndex, row.method);
        ASSERT_TRUE(start.form().Combo1.SetListIndex(5).ok());
        start.DestroyFolder(Work());

        EXPECT_FALSE(PathExists(dir.path() + "/work/A"));
        EXPECT_TRUE(start.desktop.messages.empty());
        EXPECT_EQ(Snapshot(keep), kept);
        if (row.settingsLeft) {
            EXPECT_EQ(Snapshot(own), ownBefore);
        } else {
            EXPECT_EQ(ReadBytes(own + "/Scorvane.ini"), "5\r\nEnglish.lng\r\n");
            EXPECT_TRUE(files.made.empty());
            EXPECT_EQ(FolderEntries(own), (std::vector<std::string>{"Scorvane.ini", "temp.tmp"}));
        }
    }
}

// With no home folder at all (no HOME, no entry in the password database), nothing is written: the
// program folder is then read-only or shared, and "/.config" belongs to no one's settings.
TEST_F(DataFolder, WithoutAnyHomeFolderNothingIsWritten) {
    if (::geteuid() != 0) GTEST_SKIP() << "taking a user id without an entry needs root";
    uid_t unlisted = 54321;
    while (::getpwuid(unlisted) != nullptr) ++unlisted;
    const ScopedVariable home("HOME", std::nullopt);
    const ScopedVariable noXdg("XDG_CONFIG_HOME", std::nullopt);
    const int status = InChild([&] {
        if (::setresgid(unlisted, unlisted, unlisted) != 0 || ::setresuid(unlisted, unlisted, unlisted) != 0) {
            ::_exit(3);
        }
        if (UserDataFolder().has_value()) ::_exit(4);
        if (ProgramDataFolder(programFolder).has_value()) ::_exit(5);  // root's folder: not this user's
    });
    EXPECT_EQ(status, 0);

    // Such a start reads the program folder's settings and writes no file of its own anywhere.
    WriteBytes(programFolder + "/Scorvane.ini", "3\r\nGerman.lng\r\n");
    const auto programFiles = Snapshot(programFolder);
    ProcessFacts facts;
    facts.programFolder = programFolder;
    facts.writesOwnFiles = false;
    FakeDesktop desktop;
    FakeDrives drives;
    Program program(Platform{files, desktop, desktop, drives, facts, nullptr, [] { return std::string(); }});
    WireHandlers(program);
    Main(program);
    EXPECT_EQ(program.form1().Combo1.listIndex, 3);
    EXPECT_EQ(program.LangFile, "German.lng");
    ASSERT_TRUE(program.form1().Combo1.SetListIndex(1).ok());
    program.form1().FolderToWipe = Work();
    Command3_Click(program);
    EXPECT_FALSE(PathExists(dir.path() + "/work/A"));
    EXPECT_TRUE(files.made.empty());
    EXPECT_EQ(Snapshot(programFolder), programFiles);
    EXPECT_FALSE(PathExists(config));
}

}  // namespace
}  // namespace scorvane::testing
