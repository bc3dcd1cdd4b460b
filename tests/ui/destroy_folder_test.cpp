// The destroy-folder command: the question, the two walks with the temporary file between them, the
// removal of the folders under random names deepest first, stops in each phase, the end of a run by
// caller, and what is never followed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "support/LoopMount.h"
#include "support/Messages.h"
#include "support/MountedTmpfs.h"
#include "support/TestBed.h"
#include "ui/DestroyFolderCommand.h"

namespace scorvane::testing {
namespace {

namespace fs = std::filesystem;

const std::string kTemporaryContent = [] {
    std::string text;
    for (int line = 0; line < 100; ++line) text += "000000000\r\n";
    return text;
}();

bool IsRandomFolderName(const std::string& name) {
    return name.size() == 16 && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '8'; });
}

// The folders and the deepest level below `root` (its own entries are level 1).
std::pair<int, int> FolderShape(const std::string& root) {
    int folders = 0, depth = 0;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        if (it->is_directory() && !it->is_symlink()) {
            ++folders;
            depth = std::max(depth, it.depth() + 1);
        }
    }
    return {folders, depth};
}

// A program with marker texts and its main window loaded without the load handler, so that a command
// line given to the bed does not start the command-line job.
struct FolderBed {
    explicit FolderBed(std::string commandLine = {}) : bed(TestBedOptions{std::move(commandLine)}) {
        bed.UseMarkerTexts();
        bed.program().form1Unloaded().onLoad = {};
        bed.program().form1();
    }
    Form1& form() { return bed.program().form1(); }
    bool WipingTemporaryFile() {
        return bed.program().IsDialogLoaded() &&
               bed.program().dialogUnloaded().Label8.caption.starts_with("Wiping: temp.tmp...\r");
    }
    std::string Temporary() const { return bed.ProgramFolder() + "/temp.tmp"; }

    TestBed bed;
    std::string top = bed.Work("A");
    MessageRecord question{"L12\r\rL13", 0x134, "L80: \"" + top + "\""};
    MessageRecord completion{"L17     ", 0x40, "L18"};
};

TEST(DestroyFolder, AnEmptyFolderGetsOneRandomNameAndTheRunEndsWithMessageOrShutdown) {
    for (const int check1 : {0, 1}) {
        SCOPED_TRACE("Check1 = " + std::to_string(check1));
        FolderBed f;
        fs::create_directory(f.top);
        const auto programFiles = FolderEntries(f.bed.ProgramFolder());
        f.form().Check1.value = check1;
        f.form().Show();
        f.bed.desktop.folderAnswers = {f.top};
        f.bed.desktop.answers = {MessageAnswer::Yes};
        std::set<std::string> seen;
        bool temporaryWiped = false, mainWindowShown = false;
        f.bed.desktop.onEveryYield = [&](int) {
            for (const auto& name : FolderEntries(f.bed.Work(""))) seen.insert(name);
            temporaryWiped = temporaryWiped || f.WipingTemporaryFile();
            mainWindowShown = mainWindowShown || f.form().visible;
        };
        // The button and the menu entry run the same command.
        check1 == 0 ? f.form().Command3.onClick() : f.form().mnuDistruggiCartella.onClick();

        EXPECT_EQ(f.bed.desktop.pickerTitles, std::vector<std::string>{"L81"});
        EXPECT_EQ(f.bed.desktop.folderFlags, std::vector<unsigned>{0x4});
        ExpectMessages(f.bed.desktop.messages,
                       check1 == 0 ? std::vector{f.question, f.completion} : std::vector{f.question});
        EXPECT_EQ(f.bed.desktop.commandLines,
                  check1 == 0 ? std::vector<std::string>{} : std::vector<std::string>{"systemctl poweroff"});
        EXPECT_TRUE(FolderEntries(f.bed.Work("")).empty());
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(*seen.rbegin(), "A");
        EXPECT_TRUE(IsRandomFolderName(*seen.begin())) << *seen.begin();
        // The temporary file held its 1,100 bytes and is gone under every name.
        EXPECT_TRUE(temporaryWiped);
        EXPECT_EQ(f.form().FileLength, 1100);
        EXPECT_EQ(FolderEntries(f.bed.ProgramFolder()), programFiles);
        EXPECT_FALSE(mainWindowShown);  // hidden while the run goes on, shown again at its end
        EXPECT_TRUE(f.form().visible);
        EXPECT_FALSE(f.bed.program().IsDialogLoaded());
        EXPECT_EQ(f.form().mousePointer, MousePointer::Default);
        EXPECT_EQ(f.bed.program().CancelFlag, 0);
        EXPECT_TRUE(f.form().FolderToWipe.empty());
    }
}

TEST(DestroyFolder, ARandomNameThatAlreadyExistsBesideTheFolderIsNeverTakenOver) {
    // The fixed random stream gives the same names in both runs: the first learns the first one.
    std::string drawn;
    {
        FolderBed probe;
        fs::create_directory(probe.top);
        probe.form().FolderToWipe = probe.top;
        probe.bed.desktop.onEveryYield = [&](int) {
            for (const auto& name : FolderEntries(probe.bed.Work(""))) {
                if (drawn.empty() && IsRandomFolderName(name)) drawn = name;
            }
        };
        Command3_Click(probe.bed.program());
    }
    ASSERT_FALSE(drawn.empty());
    FolderBed f;
    fs::create_directory(f.top);
    fs::create_directory(f.bed.Work(drawn));  // the user's own empty folder
    f.form().FolderToWipe = f.top;
    Command3_Click(f.bed.program());
    EXPECT_EQ(FolderEntries(f.bed.Work("")), std::vector<std::string>{drawn});
}

TEST(DestroyFolder, FilesGoInTheFirstPassAndFoldersDeepestFirstTheChosenOneLast) {
    FolderBed f;
    MakeTree(f.top, {"a.txt", "B/", "B/b.txt", "B/C/", "B/C/D/", "E/", "E/e.txt"});
    WriteBytes(f.top + "/B/C/c.bin", std::string(1500, 'c'));
    f.bed.desktop.folderAnswers = {f.top};
    f.bed.desktop.answers = {MessageAnswer::Yes};
    std::vector<std::pair<int, int>> shapes;  // (folders, depth) each time it changed
    std::set<std::string> topNames;
    int filesLeftForTheTemporary = -1;
    f.bed.desktop.onEveryYield = [&](int) {
        const auto shape = FolderShape(f.bed.Work(""));
        if (shapes.empty() || shapes.back() != shape) shapes.push_back(shape);
        for (const auto& name : FolderEntries(f.bed.Work(""))) topNames.insert(name);
        if (f.WipingTemporaryFile() && filesLeftForTheTemporary < 0) {
            filesLeftForTheTemporary = 0;
            for (const auto& entry : fs::recursive_directory_iterator(f.bed.Work(""))) {
                filesLeftForTheTemporary += entry.is_regular_file() ? 1 : 0;
            }
        }
    };
    Command3_Click(f.bed.program());

    EXPECT_EQ(filesLeftForTheTemporary, 0);
    // List2 is A, B, C, D, E: removed backwards, E (depth 2) first, then D, C, B and A.
    EXPECT_EQ(shapes, (std::vector<std::pair<int, int>>{{5, 4}, {4, 4}, {3, 3}, {2, 2}, {1, 1}}));
    EXPECT_EQ(f.form().List2.items,
              (std::vector<std::string>{f.top, f.top + "/B", f.top + "/B/C", f.top + "/B/C/D", f.top + "/E"}));
    ASSERT_EQ(topNames.size(), 2u);
    EXPECT_TRUE(IsRandomFolderName(*topNames.begin()));
    EXPECT_TRUE(FolderEntries(f.bed.Work("")).empty());
    ExpectMessages(f.bed.desktop.messages, {f.question, f.completion});
}

// Everything below `root`, as paths relative to it, sorted.
std::vector<std::string> TreeBelow(const std::string& root) {
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        paths.push_back(fs::relative(entry.path(), root).string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// A file that cannot be wiped three levels down (immutable, or with another name outside the tree) stays
// at its own path: the folders that hold it keep their names, everything else goes, and the closing
// message names the file and those folders where they are. A file with another name keeps its mode too.
TEST(DestroyFolder, AFileThatStaysKeepsItsPathAndTheFoldersAboveItTheirNames) {
    for (const bool immutable : {true, false}) {
        SCOPED_TRACE(immutable ? "an immutable file" : "a file with another name");
        FolderBed f;
        LoopMount disk(f.bed.Root());
        MOUNT_OR_SKIP(disk);
        const std::string top = disk.File("Projects"), kept = top + "/2024/taxes/file";
        MakeTree(top, {"a.txt", "2024/", "2024/b.txt", "2024/taxes/", "2024/taxes/file", "2024/taxes/c.txt",
                       "2024/taxes/Empty/", "Other/", "Other/o.txt"});
        if (immutable) {
            ASSERT_TRUE(SetImmutable(kept, true));
        } else {
            ASSERT_EQ(::link(kept.c_str(), disk.File("other-name").c_str()), 0);
            ASSERT_EQ(::chmod(kept.c_str(), 0400), 0);
        }
        f.bed.desktop.folderAnswers = {top};
        f.bed.desktop.answers = {MessageAnswer::Yes};
        int away = 0;  // yields at which the file was not at its path: never, not even for a while
        f.bed.desktop.onEveryYield = [&](int) { away += PathExists(kept) ? 0 : 1; };
        Command3_Click(f.bed.program());

        EXPECT_EQ(away, 0);
        EXPECT_EQ(ReadBytes(kept), "2024/taxes/file");
        EXPECT_EQ(TreeBelow(top), (std::vector<std::string>{"2024", "2024/taxes", "2024/taxes/file"}));
        const std::string box = immutable ? "Operation not permitted (70)" : "L87";
        ExpectMessages(f.bed.desktop.messages,
                       {{"L12\r\rL13", 0x134, "L80: \"" + top + "\""},
                        {box + "\r" + kept, 0x30, "L28"},
                        {"L88 4\r\r" + kept + "\r" + top + "/2024/taxes\r" + top + "/2024\r" + top, 0x30, "L28"}});
        if (!immutable) {
            struct stat info {};
            ASSERT_EQ(::stat(kept.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, 0400u);
        }
        if (immutable) SetImmutable(kept, false);
    }
}

// A folder found empty that cannot be removed after all goes back to its own name, which the closing
// message names.
TEST(DestroyFolder, AnEmptyFolderThatCannotBeRemovedGoesBackToItsName) {
    FolderBed f;
    MakeTree(f.top, {"B/"});
    f.bed.files.FailOperation("RemoveFolder", EIO);
    f.bed.desktop.folderAnswers = {f.top};
    f.bed.desktop.answers = {MessageAnswer::Yes};
    Command3_Click(f.bed.program());
    EXPECT_EQ(FolderEntries(f.top), std::vector<std::string>{"B"});
    ExpectMessages(f.bed.desktop.messages, {f.question, {"L88 2\r\r" + f.top + "/B\r" + f.top, 0x30, "L28"}});
}

// A file whose 35 passes fail does not take the progress window, with its heading, from the files after it.
TEST(DestroyFolder, AFailedThirtyFivePassFileLeavesTheWindowShownForTheNextFiles) {
    FolderBed f;
    MakeTree(f.top, {});
    WriteBytes(f.top + "/a.bin", std::string(2000, 'a'));
    WriteBytes(f.top + "/b.bin", std::string(2000, 'b'));
    f.form().Combo1.listIndex = 8;
    f.bed.files.FailOperation("WriteRaw", EIO, 0, 1);
    int hidden = 0, afterFailure = 0;
    f.bed.desktop.onEveryYield = [&](int) {
        if (f.bed.desktop.messages.size() < 2 || !PathExists(f.top + "/b.bin")) return;
        ++afterFailure;  // a yield during the passes over the next file
        const Dialog& dialog = f.bed.program().dialogUnloaded();
        if (!f.bed.program().IsDialogLoaded() || !dialog.visible || !dialog.Label9.visible) ++hidden;
    };
    f.bed.desktop.folderAnswers = {f.top};
    f.bed.desktop.answers = {MessageAnswer::Yes};
    Command3_Click(f.bed.program());
    EXPECT_GT(afterFailure, 35);
    EXPECT_EQ(hidden, 0);
    EXPECT_EQ(f.bed.desktop.messages[1].text, "Device I/O error (57)\r" + f.top + "/a.bin");
}

TEST(DestroyFolder, HowARunEndsForEachCaller) {
    struct Row {
        const char* name;
        bool handedOver, commandLine, startedWithFolder;
        bool ended, folderKept, mainWindowShown;
        std::string given = "A";  // the command line keeps a trailing separator
    };
    const Row rows[] = {
        {"a handed-over folder", true, false, false, false, false, false},
        {"a folder of a command-line list", true, true, false, false, true, false},
        {"the folder of the command line", true, true, true, true, true, false, "A/"},
        {"a picked folder after a command-line start", false, true, true, true, false, false},
        {"a picked folder", false, false, false, false, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FolderBed f(row.commandLine ? "\"A\"" : "");
        MakeTree(f.top, {"x", "B/", "B/y"});
        f.form().Check1.value = 1;
        f.form().StartedWithFolder = row.startedWithFolder;
        const std::string folder = f.bed.Work(row.given);
        if (row.handedOver) {
            f.form().FolderToWipe = folder;
        } else {
            f.bed.desktop.folderAnswers = {folder};
            f.bed.desktop.answers = {MessageAnswer::Yes};
        }
        std::set<std::string> seen;
        f.bed.desktop.onEveryYield = [&](int) {
            for (const auto& name : FolderEntries(f.bed.Work(""))) seen.insert(name);
        };
        if (row.ended) {
            EXPECT_THROW(Command3_Click(f.bed.program()), ProgramEnded);
        } else {
            Command3_Click(f.bed.program());
        }
        EXPECT_TRUE(FolderEntries(f.bed.Work("")).empty());
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_TRUE(IsRandomFolderName(*seen.begin()));
        // With the shut-down option ticked a completed picked run shuts down instead of its message.
        ExpectMessages(f.bed.desktop.messages, row.handedOver ? std::vector<MessageRecord>{} : std::vector{f.question});
        EXPECT_EQ(f.bed.desktop.commandLines.size(), row.handedOver || row.commandLine ? 0u : 1u);
        EXPECT_EQ(f.form().FolderToWipe, row.folderKept ? folder : "");
        EXPECT_EQ(f.form().visible, row.mainWindowShown);
        EXPECT_EQ(f.bed.program().CancelFlag, 0);
        EXPECT_EQ(f.bed.desktop.pickerTitles.size(), row.handedOver ? 0u : 1u);
    }
}

TEST(DestroyFolder, ClosingThePickerOrAnsweringNoChangesNothing) {
    for (const bool picked : {false, true}) {
        FolderBed f;
        MakeTree(f.top, {"x", "B/"});
        f.form().Show();
        f.bed.program().CancelFlag = 1;
        f.bed.desktop.folderAnswers = {picked ? f.top : ""};
        f.bed.desktop.answers = {MessageAnswer::No};
        f.form().Command3.onClick();
        ExpectMessages(f.bed.desktop.messages, picked ? std::vector{f.question} : std::vector<MessageRecord>{});
        EXPECT_EQ(FolderEntries(f.top), (std::vector<std::string>{"B", "x"}));
        EXPECT_EQ(ReadBytes(f.top + "/x"), "x");
        EXPECT_FALSE(PathExists(f.Temporary()));
        EXPECT_TRUE(f.form().visible);
        EXPECT_FALSE(f.bed.program().IsDialogLoaded());
        EXPECT_EQ(f.bed.desktop.yields, 0);
        EXPECT_EQ(f.bed.program().CancelFlag, 1);
    }
}

TEST(DestroyFolder, AStopInEachPhase) {
    enum class Phase { FirstPass, SecondPass, Removal };
    struct Row {
        const char* name;
        Phase phase;
        bool handedOver;  // by the command line, with StartedWithFolder
        bool ended;
        int cancelFlagAfter;
        bool fileLeft, foldersLeft;
    };
    const Row rows[] = {
        {"first pass, picked", Phase::FirstPass, false, false, 0, true, true},
        {"first pass, command line", Phase::FirstPass, true, false, 1, true, true},
        {"second pass, picked", Phase::SecondPass, false, false, 1, false, true},
        {"second pass, command line", Phase::SecondPass, true, true, 1, false, true},
        {"removal, picked, shut-down ticked", Phase::Removal, false, false, 1, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FolderBed f(row.handedOver ? "\"A\"" : "");
        Program& program = f.bed.program();
        MakeTree(f.top, {"B/", "B/f.txt", "C/"});
        f.form().Check1.value = 1;
        if (row.handedOver) {
            f.form().FolderToWipe = f.top;
            f.form().StartedWithFolder = true;
        } else {
            f.bed.desktop.folderAnswers = {f.top};
            f.bed.desktop.answers = {MessageAnswer::Yes};
        }
        bool temporarySeen = false;
        int stops = 0;
        f.bed.desktop.onEveryYield = [&](int) {
            temporarySeen = temporarySeen || f.WipingTemporaryFile();
            const auto& list = program.form1().List2.items;
            const bool now = row.phase == Phase::FirstPass    ? !temporarySeen && list.size() == 2
                             : row.phase == Phase::SecondPass ? temporarySeen && list.size() == 2
                                                              : temporarySeen && !PathExists(f.top + "/C");
            if (now && stops == 0) {
                ++stops;
                program.dialogUnloaded().CancelButton.onClick();
            }
        };
        if (row.ended) {
            EXPECT_THROW(Command3_Click(program), ProgramEnded);
        } else {
            Command3_Click(program);
        }
        EXPECT_EQ(stops, 1);
        EXPECT_EQ(program.CancelFlag, row.cancelFlagAfter);
        EXPECT_TRUE(f.form().FolderToWipe.empty());
        EXPECT_EQ(PathExists(f.top + "/B/f.txt"), row.fileLeft);
        EXPECT_EQ(PathExists(f.top + "/C"), row.foldersLeft);
        EXPECT_EQ(FolderEntries(f.bed.Work("")).empty(), !row.foldersLeft);
        // Whenever the stop comes, the run leaves no temporary file behind.
        EXPECT_FALSE(PathExists(f.Temporary()));
        ExpectMessages(f.bed.desktop.messages, row.handedOver ? std::vector<MessageRecord>{} : std::vector{f.question});
        EXPECT_TRUE(f.bed.desktop.commandLines.empty());
        if (row.ended) continue;
        EXPECT_TRUE(f.form().visible);
        EXPECT_FALSE(program.IsDialogLoaded());
        EXPECT_EQ(f.form().mousePointer, MousePointer::Default);
        // The next click asks for a folder again.
        f.bed.desktop.folderAnswers = {""};
        f.form().Command3.onClick();
        EXPECT_EQ(f.bed.desktop.pickerTitles.size(), row.handedOver ? 1u : 2u);
    }
}

TEST(DestroyFolder, AStopPostedWhileAFlatFolderIsListedEndsTheRunBeforeItsLastFile) {
    // Small files by method 0 take no yield of their own; work takes time here: 5 ms at every
    // reading of the clock. A click made while the folder is listed reaches the progress window once it
    // is there, as a click waits in the window system's queue.
    constexpr int kFiles = 5000;
    FolderBed f;
    MountedTmpfs memory{f.bed.Work(""), "64m"};  // thousands of files made in no time
    SKIP_UNLESS_MOUNTED(memory);
    Program& program = f.bed.program();
    fs::create_directory(f.top);
    for (int i = 0; i < kFiles; ++i) WriteBytes(f.top + "/f" + std::to_string(10000 + i), "x");
    f.form().Combo1.listIndex = 0;
    f.bed.desktop.folderAnswers = {f.top};
    f.bed.desktop.answers = {MessageAnswer::Yes};
    f.bed.desktop.clockStep = 0.005;
    int postedAt = 0, deliveredAt = 0;
    f.bed.desktop.onEveryYield = [&](int n) {
        if (postedAt == 0 && !program.IsDialogLoaded() && program.form1().List2.items.size() == 1) postedAt = n;
        if (postedAt != 0 && deliveredAt == 0 && program.IsDialogLoaded()) {
            deliveredAt = n;
            program.dialogUnloaded().CancelButton.onClick();
        }
    };
    Command3_Click(program);
    EXPECT_NE(postedAt, 0) << "the listing never yielded";
    EXPECT_NE(deliveredAt, 0);
    const auto left = FolderEntries(f.top);
    EXPECT_TRUE(std::find(left.begin(), left.end(), "f14999") != left.end());
    EXPECT_GT(left.size(), static_cast<std::size_t>(kFiles - 100));
    ExpectMessages(f.bed.desktop.messages, {f.question});
    EXPECT_TRUE(f.form().visible);
    EXPECT_FALSE(program.IsDialogLoaded());
}

TEST(DestroyFolder, LinksAreRemovedAsNamesAndNeverFollowed) {
    for (const bool topIsLink : {false, true}) {
        SCOPED_TRACE(topIsLink ? "the folder handed over is a link" : "links inside the tree");
        FolderBed f;
        MakeTree(f.bed.Work("Outside"), {"o", "deep/", "deep/d"});
        if (topIsLink) {
            fs::create_directory_symlink(f.bed.Work("Outside"), f.top);
        } else {
            MakeTree(f.top, {"a", "B/"});
            fs::create_directory_symlink(f.bed.Work("Outside"), f.top + "/B/to-folder");
            fs::create_symlink(f.bed.Work("Outside/o"), f.top + "/to-file");
        }
        f.form().FolderToWipe = f.top;
        Command3_Click(f.bed.program());
        EXPECT_EQ(FolderEntries(f.bed.Work("")), std::vector<std::string>{"Outside"});
        EXPECT_EQ(FolderEntries(f.bed.Work("Outside")), (std::vector<std::string>{"deep", "o"}));
        EXPECT_EQ(ReadBytes(f.bed.Work("Outside/o")), "o");
        EXPECT_EQ(ReadBytes(f.bed.Work("Outside/deep/d")), "deep/d");
        EXPECT_TRUE(f.bed.desktop.messages.empty());
    }
}

}  // namespace
}  // namespace scorvane::testing
