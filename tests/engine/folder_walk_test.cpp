// The folder walk: the order in which folders are listed and files wiped, the bar per file, stops and
// vanished files, and what the walk never enters (links, other file systems, the root).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "engine/FolderWalk.h"
#include "support/MountedTmpfs.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

namespace fs = std::filesystem;

struct WalkBed {
    WalkBed() {
        bed.UseMarkerTexts();
        bed.program().form1();
    }
    std::vector<std::string>& List2() { return bed.program().form1().List2.items; }
    TestBed bed;
    std::string top = bed.Work("A");
};

TEST(FolderWalk, ListsParentsBeforeChildrenAndWipesTheFilesOfTheTree) {
    // Names are bytes: a folder and a file whose names are not UTF-8 are walked like any other.
    const std::vector<std::string> tree = {"a1", "B/",         "B/b1",   "B/D/",    "B/D/d1",
                                           "C/", "C/\xff.bin", "\xc3(/", "\xc3(/e1"};
    for (const bool ownFilesToo : {true, false}) {
        SCOPED_TRACE(ownFilesToo ? "Scan" : "Scan2");
        WalkBed w;
        MakeTree(w.top, tree);
        w.List2() = {w.top};
        ownFilesToo ? Scan(w.bed.program(), w.top) : Scan2(w.bed.program(), w.top);
        EXPECT_EQ(w.List2(),
                  (std::vector<std::string>{w.top, w.top + "/B", w.top + "/B/D", w.top + "/C", w.top + "/\xc3("}));
        EXPECT_EQ(FolderEntries(w.top), ownFilesToo ? (std::vector<std::string>{"B", "C", "\xc3("})
                                                    : (std::vector<std::string>{"B", "C", "a1", "\xc3("}));
        if (!ownFilesToo) {
            EXPECT_EQ(ReadBytes(w.top + "/a1"), "a1");
        }
        for (const auto& folder : {"/B", "/B/D", "/C", "/\xc3("}) {
            for (const auto& name : FolderEntries(w.top + folder)) {
                EXPECT_TRUE(fs::is_directory(w.top + folder + "/" + name)) << folder << "/" << name;
            }
        }
        EXPECT_EQ(w.bed.desktop.beeps, 0);
        EXPECT_TRUE(w.bed.desktop.messages.empty());
    }
}

TEST(FolderWalk, EmptyFoldersAreListedWithoutOpeningTheProgressWindow) {
    WalkBed w;
    MakeTree(w.top, {"B/", "C/", "C/D/"});
    w.List2() = {w.top};
    Scan(w.bed.program(), w.top);
    EXPECT_EQ(w.List2(), (std::vector<std::string>{w.top, w.top + "/B", w.top + "/C", w.top + "/C/D"}));
    EXPECT_FALSE(w.bed.program().IsDialogLoaded());
    EXPECT_TRUE(w.bed.desktop.events.empty());
    EXPECT_EQ(w.bed.desktop.beeps, 0);
}

TEST(FolderWalk, BarPerFileStopsAndVanishedFiles) {
    // Method 2 writes a small file in one piece, yielding before and after: file k's write lies
    // between yields 2k-1 and 2k.
    struct Row {
        const char* name;
        int eventAt;  // 0: none
        bool stop;    // else the third file vanishes
        std::vector<std::string> left;
        std::vector<int> bars;  // at yields 1, 3, 5, 7
        int beeps;
        bool headingShown;
        std::vector<std::string> listed;
    };
    const Row rows[] = {
        {"a whole folder", 0, false, {"Z"}, {1597, 3195, 4792, 6390}, 0, false, {"", "/Z"}},
        {"a stop during the second file", 3, true, {"Z", "f3", "f4"}, {1597, 3195}, 0, true, {""}},
        {"the third file vanishes", 1, false, {"Z"}, {1597, 3195, 6390}, 1, false, {"", "/Z"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WalkBed w;
        Program& program = w.bed.program();
        MakeTree(w.top, {"f1", "f2", "f3", "f4", "Z/", "Z/z"});
        program.form1().Combo1.listIndex = 2;
        std::vector<int> bars;
        w.bed.desktop.onEveryYield = [&](int n) {
            // Odd yields while the top folder's own files are wiped come before each file's write.
            if (n % 2 == 1 && program.IsDialogLoaded() && w.List2().size() == 1) {
                bars.push_back(program.dialogUnloaded().ImgBar.width);
                EXPECT_TRUE(program.dialogUnloaded().Label9.visible);
            }
            if (n != row.eventAt) return;
            if (row.stop) {
                program.dialogUnloaded().CancelButton.onClick();
            } else {
                fs::remove(w.top + "/f3");
            }
        };
        w.List2() = {w.top};
        Scan(program, w.top);
        EXPECT_EQ(FolderEntries(w.top), row.left);
        for (const auto& name : row.left) {
            if (name != "Z") {
                EXPECT_EQ(ReadBytes(w.top + "/" + name), name);
            }
        }
        EXPECT_EQ(PathExists(w.top + "/Z/z"), row.stop);
        EXPECT_EQ(bars, row.bars);
        EXPECT_EQ(program.form1().ProgressTotal.ToDouble(), row.stop ? 4.0 : 1.0);  // the last folder with files
        EXPECT_EQ(program.dialogUnloaded().Label9.visible, row.headingShown);
        EXPECT_EQ(w.bed.desktop.beeps, row.beeps);
        EXPECT_TRUE(w.bed.desktop.messages.empty());
        std::vector<std::string> listed;
        for (const auto& suffix : row.listed) listed.push_back(w.top + suffix);
        EXPECT_EQ(w.List2(), listed);
    }
}

TEST(FolderWalk, LinksAndSpecialFilesAreRemovedAsNamesAndATrailingSeparatorIsKept) {
    WalkBed w;
    MakeTree(w.top, {"f"});
    WriteBytes(w.bed.Work("outside"), "keep");
    fs::create_symlink(w.bed.Work("outside"), w.top + "/link");
    ASSERT_EQ(::mkfifo((w.top + "/fifo").c_str(), 0600), 0);
    ElencaFiles(w.bed.program(), w.top + "/");
    EXPECT_TRUE(FolderEntries(w.top).empty());
    EXPECT_EQ(ReadBytes(w.bed.Work("outside")), "keep");
    // The file's path was the folder as given, the separator and the name.
    EXPECT_EQ(w.bed.program().form1().ItemFolder, w.top + "//");
    EXPECT_EQ(w.bed.program().form1().ProgressTotal.ToDouble(), 3.0);
    EXPECT_EQ(w.bed.desktop.beeps, 0);
}

TEST(FolderWalk, NeverEntersALinkOrAFolderReachedThroughDotDot) {
    struct Row {
        std::string path;  // under the work folder; L is a link to the folder X
        bool walked;
    };
    const Row rows[] = {{"X", true},   {"X/", true},   {"X/./", true},     {"L", false},
                        {"L/", false}, {"L/.", false}, {"X/sub/..", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        WalkBed w;
        MakeTree(w.bed.Work("X"), {"x", "sub/", "sub/s"});
        fs::create_directory_symlink(w.bed.Work("X"), w.bed.Work("L"));
        const std::string path = w.bed.Work(row.path);
        w.List2() = {path};
        Scan(w.bed.program(), path);
        EXPECT_EQ(PathExists(w.bed.Work("X/x")), !row.walked);
        EXPECT_EQ(PathExists(w.bed.Work("X/sub/s")), !row.walked);
        EXPECT_EQ(w.List2().size(), row.walked ? 2u : 1u);
        EXPECT_EQ(w.bed.desktop.beeps, row.walked ? 0 : 1);  // a folder that cannot be opened
    }
}

TEST(FolderWalk, NeverCrossesIntoAnotherFileSystem) {
    WalkBed w;
    MakeTree(w.top, {"a", "M/", "B/", "B/b"});
    const std::string mount = w.top + "/M";
    MountedTmpfs tmpfs(mount, "1m");
    SKIP_UNLESS_MOUNTED(tmpfs);
    WriteBytes(mount + "/m", "keep");
    ::mkdir((mount + "/inner").c_str(), 0700);
    WriteBytes(mount + "/inner/i", "keep");
    w.List2() = {w.top};
    Scan(w.bed.program(), w.top);
    EXPECT_EQ(w.List2(), (std::vector<std::string>{w.top, w.top + "/B"}));
    EXPECT_EQ(FolderEntries(w.top), (std::vector<std::string>{"B", "M"}));
    EXPECT_TRUE(FolderEntries(w.top + "/B").empty());
    EXPECT_EQ(ReadBytes(mount + "/m"), "keep");
    EXPECT_EQ(ReadBytes(mount + "/inner/i"), "keep");
}

// Only the predicate is ever given the root here: nothing in this test walks or wipes.
TEST(FolderWalk, TheRootIsRecognisedByItsTextAndByWhatItReaches) {
    TestBed bed;
    Program& program = bed.program();
    for (const char* root : {"/", "//", "///", "/.", "/./", "//.//.", "/..", "/../..", "/tmp/..", "/a/b/../../"}) {
        EXPECT_TRUE(IsFilesystemRoot(program, root)) << root;
    }
    std::filesystem::create_directory_symlink("/", bed.Work("to-root"));
    EXPECT_TRUE(IsFilesystemRoot(program, bed.Work("to-root")));
    EXPECT_TRUE(IsFilesystemRoot(program, bed.Work("to-root/")));
    for (const char* other : {"", "tmp-not-here", "/tmp", "/tmp/", "/tmp/.", "/../tmp", "/a/b/..", "/ ", "/..."}) {
        EXPECT_FALSE(IsFilesystemRoot(program, other)) << other;
    }
    EXPECT_FALSE(IsFilesystemRoot(program, bed.Work("")));
}

}  // namespace
}  // namespace scorvane::testing
