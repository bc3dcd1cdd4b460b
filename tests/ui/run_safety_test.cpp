// What the commands must never do: wipe a folder nobody named, go on after a stop, or report a file as
// wiped that they could not find.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "startup/PathHelpers.h"
#include "startup/Settings.h"
#include "support/Messages.h"
#include "support/TestBed.h"
#include "ui/DestroyFilesCommand.h"
#include "ui/DestroyFolderCommand.h"
#include "ui/DropHandling.h"

namespace scorvane::testing {
namespace {

namespace fs = std::filesystem;

// Two quoted paths joined without their quotes name the folder "a b": it was never chosen, and stays.
TEST(RunSafety, TwoPathsOnTheCommandLineAreNeverReadAsOneFolder) {
    TempDir files;
    fs::create_directories(files.path() + "/a b");
    WriteBytes(files.path() + "/a b/keep.txt", "keep");
    WriteBytes(files.path() + "/b", "wipe me");
    TestBed bed(TestBedOptions{"\"" + files.path() + "/a\" \"" + files.path() + "/b\""});
    bed.UseMarkerTexts();
    bed.InstallMarkerLanguage("X.lng");
    WriteBytes(bed.ProgramFolder() + "/Scorvane.ini", "0\r\nX.lng\r\n");
    bed.desktop.modal["Form2"] = [](Window& window) { static_cast<Form2&>(window).Command2.onClick(); };
    bed.desktop.answers = {MessageAnswer::Yes};

    EXPECT_THROW(Main(bed.program()), ProgramEnded);
    EXPECT_EQ(ReadBytes(files.path() + "/a b/keep.txt"), "keep");
    EXPECT_FALSE(PathExists(files.path() + "/b"));
}

// A stop pressed while the drop yields after a file holds for the folder that follows.
TEST(RunSafety, AStopBetweenDroppedItemsIsNotUndoneByAFolder) {
    TestBed bed;
    bed.UseMarkerTexts();
    WriteBytes(bed.Work("first.bin"), "x");
    fs::create_directories(bed.Work("folder"));
    WriteBytes(bed.Work("folder/keep.txt"), "keep");
    Program& program = bed.program();
    program.form1();
    bed.desktop.answers = {MessageAnswer::Yes};
    bed.desktop.onEveryYield = [&](int) {
        if (!PathExists(bed.Work("first.bin"))) program.dialogUnloaded().CancelButton.onClick();
    };
    int effect = 7;
    ProcessDrop(program, {bed.Work("first.bin"), bed.Work("folder")}, effect);
    EXPECT_EQ(ReadBytes(bed.Work("folder/keep.txt")), "keep");
    ExpectMessages(bed.desktop.messages, {kQuestion});
}

// A picked name that names nothing is reported, and the run ends without a completion message.
TEST(RunSafety, APickedFileThatIsNotThereIsReportedNotCompleted) {
    TestBed bed;
    bed.UseMarkerTexts();
    WriteBytes(bed.Work("here.bin"), "x");
    bed.program().form1();
    bed.desktop.fileAnswers = {{bed.Work("here.bin"), bed.Work("gone.bin")}};
    bed.desktop.answers = {MessageAnswer::Ok, MessageAnswer::Yes};
    Command1_Click(bed.program());
    ExpectMessages(bed.desktop.messages, {{"File not found (53)\r" + bed.Work("gone.bin"), 0x30, "L28"},
                                          kQuestion,
                                          {"L88 1\r\r" + bed.Work("gone.bin"), 0x30, "L28"}});
    EXPECT_FALSE(PathExists(bed.Work("here.bin")));
}

// Files chosen in several folders keep their own folders: each name is relative to the folder of all.
TEST(RunSafety, FilesPickedInSeveralFoldersAreNamedFromTheirCommonFolder) {
    TestBed bed;
    bed.desktop.fileAnswers = {{"/data/a/x.txt", "/data/b/y.txt", "/data/a/z.txt"}};
    const std::string buffer = OpenFileDialog(bed.program(), 1, "t", "", "", "", "");
    EXPECT_EQ(buffer.substr(0, 33), std::string("/data\0a/x.txt\0b/y.txt\0a/z.txt\0\0", 32) + '\0');
    EXPECT_EQ(buffer.size(), 250u);
    bed.desktop.fileAnswers = {{"/a.txt", "/b/c.txt"}};
    EXPECT_EQ(OpenFileDialog(bed.program(), 1, "t", "", "", "", "").substr(0, 15),
              std::string("/\0a.txt\0b/c.txt\0", 15));
}

TEST(RunSafety, APickedFolderThatIsNotThereIsReportedNotCompleted) {
    TestBed bed;
    bed.UseMarkerTexts();
    bed.program().form1().Show();
    bed.desktop.folderAnswers = {bed.Work("gone")};
    Command3_Click(bed.program());
    ExpectMessages(bed.desktop.messages, {{"File not found (53)\r" + bed.Work("gone"), 0x30, "L28"}});
    EXPECT_TRUE(bed.program().form1().visible);  // nothing hidden, nothing run
    EXPECT_FALSE(bed.program().IsDialogLoaded());
}

}  // namespace
}  // namespace scorvane::testing

namespace scorvane::testing {
namespace {

// An immutable file among the chosen items: whichever way it was chosen and whatever the method, the
// run names it at its end instead of saying "completed", and never shuts the machine down.
TEST(RunTruth, AFileThatCannotBeWipedIsNamedAtTheEndAndNothingElseIsLeft) {
    enum class Way { Picked, Dropped, InAFolder };
    for (const Way way : {Way::Picked, Way::Dropped, Way::InAFolder}) {
        for (const int method : {0, 2, 8}) {
            SCOPED_TRACE("way " + std::to_string(static_cast<int>(way)) + ", method " + std::to_string(method));
            TestBed bed;
            bed.UseMarkerTexts();
            Program& program = bed.program();
            program.form1().Combo1.listIndex = method;
            program.form1().Check1.value = 1;  // a completed run would shut down
            const std::string folder = bed.Work("T"), locked = folder + "/locked.txt", ok = folder + "/ok.txt";
            MakeTree(folder, {"locked.txt", "ok.txt"});
            if (!SetImmutable(locked, true)) GTEST_SKIP() << "no immutable files on this file system";
            struct Release {
                std::string root;
                ~Release() {
                    for (const auto& entry : fs::recursive_directory_iterator(root)) {
                        if (entry.is_regular_file()) SetImmutable(entry.path().string(), false);
                    }
                }
            } release{bed.Work("")};

            int effect = kAllDropEffects;
            bed.desktop.answers = {MessageAnswer::Yes};
            if (way == Way::Picked) {
                bed.desktop.fileAnswers = {{locked, ok}};
                Command1_Click(program);
            } else if (way == Way::Dropped) {
                ProcessDrop(program, {locked, ok}, effect);
            } else {
                bed.desktop.folderAnswers = {folder};
                Command3_Click(program);
            }

            std::vector<std::string> left;
            for (const auto& entry : fs::recursive_directory_iterator(bed.Work(""))) {
                if (entry.is_regular_file()) left.push_back(ReadBytes(entry.path().string()));
            }
            EXPECT_EQ(left, std::vector<std::string>{"locked.txt"});
            EXPECT_TRUE(bed.desktop.commandLines.empty());
            const auto& messages = bed.desktop.messages;
            ASSERT_GE(messages.size(), 3u);
            EXPECT_EQ(messages.back().title, "L28");
            EXPECT_TRUE(messages.back().text.starts_with("L88 ")) << messages.back().text;
            EXPECT_NE(messages.back().text.find(locked), std::string::npos);  // where it is: its folder kept its name
            for (const auto& message : messages) EXPECT_NE(message.text, kCompleted.text);
        }
    }
}

// A chosen item on a kernel file system is refused and never written to.
TEST(RunTruth, KernelFileSystemsAreRefused) {
    TestBed bed;
    bed.UseMarkerTexts();
    const std::string queues = bed.Root() + "/queues";
    ::mkdir(queues.c_str(), 0700);
    if (::mount("none", queues.c_str(), "mqueue", 0, nullptr) != 0) GTEST_SKIP() << "cannot mount an mqueue";
    struct Unmount {
        std::string folder;
        ~Unmount() { ::umount(folder.c_str()); }
    } unmount{queues};
    const std::string queue = queues + "/scorvane-test";
    const int made = ::open(queue.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(made, 0);
    ::close(made);

    Program& program = bed.program();
    program.form1();
    int effect = kAllDropEffects;
    bed.desktop.answers = {MessageAnswer::Yes};
    ProcessDrop(program, {queue, queues}, effect);
    bed.desktop.answers = {MessageAnswer::Yes};
    bed.desktop.folderAnswers = {queues};
    Command3_Click(program);

    EXPECT_TRUE(PathExists(queue));
    ExpectMessages(bed.desktop.messages, {kQuestion,
                                          {"L89 (mqueue)\r" + queue, 0x30, "L14"},
                                          {"L89 (mqueue)\r" + queues, 0x30, "L14"},
                                          {"L89 (mqueue)\r" + queues, 0x30, "L80"}});
}

}  // namespace
}  // namespace scorvane::testing
