// The destroy-files command: the open-file dialog's answer, the question, the wipe of each entry in
// order, the bar, a stop, and the end of the run (completion message, shutdown, or the program's end).
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "startup/ApplyLanguage.h"
#include "support/Messages.h"
#include "support/TestBed.h"
#include "ui/DestroyFilesCommand.h"

namespace scorvane::testing {
namespace {

// A started main window with marker texts and method 1; `commandLine` as if a command-line start had
// left the main window on screen (the load's job itself is not run).
struct FilesBed {
    explicit FilesBed(std::string commandLine = {}) : bed(TestBedOptions{std::move(commandLine)}) {
        bed.UseMarkerTexts();
        if (!bed.program().facts().commandLine.empty()) form.onLoad = nullptr;
        bed.program().form1();
        form.StoredMethodIndex() = "1";
        ApplyLanguage(bed.program());
        std::filesystem::create_directories(bed.Work("dir"));
    }
    // Files of `length` bytes in work/dir, picked in the given order.
    std::vector<std::string> Pick(const std::vector<std::string>& names, std::size_t length) {
        std::vector<std::string> paths;
        for (const auto& name : names) {
            paths.push_back(bed.Work("dir/" + name));
            WriteBytes(paths.back(), std::string(length, 'x'));
        }
        bed.desktop.fileAnswers.push_back(paths);
        return paths;
    }

    TestBed bed;
    Form1& form = bed.program().form1Unloaded();
};

TEST(DestroyFiles, NothingPickedOrNoChangesNothing) {
    for (const bool picked : {false, true}) {
        SCOPED_TRACE(picked ? "answered No" : "dialog cancelled");
        FilesBed f;
        const auto paths = f.Pick(picked ? std::vector<std::string>{"a.bin"} : std::vector<std::string>{}, 10);
        f.bed.desktop.answers = {MessageAnswer::No};
        f.form.Show();
        f.form.mnuDistruggiFile.onClick();

        EXPECT_EQ(f.bed.desktop.pickerTitles, std::vector<std::string>{"L75"});
        // The platform's pattern for every file: dot-files and names without a dot are listed too.
        const auto& filters = f.bed.desktop.fileFilters.at(0);
        EXPECT_EQ(filters, (std::vector<FileFilter>{{"L77 (*.*)", "*.*"}}));
        for (const char* name : {"noext", ".secret", "keep.txt"}) EXPECT_TRUE(PatternLists(filters[0].second, name));
        ExpectMessages(f.bed.desktop.messages, picked ? std::vector{kQuestion} : std::vector<MessageRecord>{});
        // Either way the main window stays on screen and no progress window was loaded.
        EXPECT_TRUE(f.form.visible);
        EXPECT_FALSE(f.bed.program().IsDialogLoaded());
        EXPECT_EQ(f.form.mousePointer, MousePointer::Default);
        for (const auto& path : paths) EXPECT_EQ(ReadBytes(path), std::string(10, 'x'));
    }
}

TEST(DestroyFiles, PickedFilesAreWipedInTheDialogsOrderAndEmptyEntriesAreSkipped) {
    FilesBed f;
    const auto paths = f.Pick({"c.bin", "a.bin", "b.bin"}, 1500);
    WriteBytes(f.bed.Work("dir/kept.bin"), "not picked");
    std::vector<std::string> order;
    f.bed.desktop.onEveryYield = [&](int) {
        Program& program = f.bed.program();
        EXPECT_EQ(f.form.mousePointer, MousePointer::Hourglass);
        EXPECT_TRUE(program.dialogUnloaded().Label9.visible);
        const std::string& status = program.dialogUnloaded().Label8.caption;
        const auto name = status.substr(0, status.find("..."));
        if (order.empty() || order.back() != name) order.push_back(name);
    };
    f.bed.desktop.answers = {MessageAnswer::Yes};
    f.form.Command1.onClick();

    EXPECT_EQ(order, (std::vector<std::string>{"Wiping: c.bin", "Wiping: a.bin", "Wiping: b.bin"}));
    for (const auto& path : paths) EXPECT_FALSE(PathExists(path)) << path;
    EXPECT_EQ(FolderEntries(f.bed.Work("dir")), std::vector<std::string>{"kept.bin"});
    // The bar's total is the number of files picked: the NULs that fill the answer are no entries.
    EXPECT_EQ(f.form.ProgressTotal, FixedPoint4::FromDouble(3));
    ExpectMessages(f.bed.desktop.messages, {kQuestion, kCompleted});
    EXPECT_FALSE(f.bed.program().IsDialogLoaded());
    EXPECT_TRUE(f.form.visible);
    EXPECT_EQ(f.form.mousePointer, MousePointer::Default);
}

// The answer ends at its first empty entry: each file picked is wiped once, whatever the NULs that fill
// the rest of the 250 characters, and a file that cannot be wiped shows its failure once.
TEST(DestroyFiles, EachPickedFileIsWipedOnceAndTheAnswersPaddingIsNoEntry) {
    struct Row {
        const char* what;
        std::vector<std::string> names;  // below work/dir
        std::vector<int> bar;            // the bar's width at each yield between two entries
    };
    const Row rows[] = {
        {"one file", {"only.bin"}, {}},
        {"several files", {"c.bin", "a.bin", "b.bin"}, {2130, 4260, 6390}},
        {"a file in the top folder and one below it", {"sub/deep.bin", "top.bin"}, {3195, 6390}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FilesBed f;
        std::filesystem::create_directories(f.bed.Work("dir/sub"));
        const auto paths = f.Pick(row.names, 10);
        std::vector<int> bar;
        f.bed.desktop.onEveryYield = [&](int) { bar.push_back(f.bed.program().dialogUnloaded().ImgBar.width); };
        f.bed.desktop.answers = {MessageAnswer::Yes};
        f.form.Command1.onClick();

        for (const auto& path : paths) EXPECT_FALSE(PathExists(path)) << path;
        EXPECT_EQ(bar, row.bar);
        EXPECT_EQ(f.form.ProgressTotal,
                  FixedPoint4::FromDouble(row.names.size() > 1 ? static_cast<double>(row.names.size()) : 0));
        ExpectMessages(f.bed.desktop.messages, {kQuestion, kCompleted});
    }

    // One file whose overwrite fails: one failure box, not one per NUL of the answer.
    FilesBed f;
    const auto paths = f.Pick({"stuck.bin"}, 10);
    f.bed.files.FailOperation("Open", EIO);
    f.bed.desktop.answers = {MessageAnswer::Yes};
    f.form.Command1.onClick();
    EXPECT_EQ(ReadBytes(paths[0]), std::string(10, 'x'));
    const auto failures =
        std::count_if(f.bed.desktop.messages.begin(), f.bed.desktop.messages.end(),
                      [&](const MessageRecord& box) { return box.text == "Device I/O error (57)\r" + paths[0]; });
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(f.bed.desktop.messages.back().text, "L88 1\r\r" + paths[0]);
}

TEST(DestroyFiles, AStopEndsTheRunWithoutCompletionOrShutdown) {
    struct Row {
        const char* what;
        std::size_t length;
        int yield;  // the stop comes at this yield
        bool firstWiped;
    };
    // Files of 1500 bytes yield inside their wipe; files of 10 bytes only between two entries.
    for (const Row& row : {Row{"inside the first file", 1500, 2, false}, Row{"after the first file", 10, 1, true}}) {
        SCOPED_TRACE(row.what);
        FilesBed f;
        f.form.Check1.value = 1;
        const auto paths = f.Pick({"a.bin", "b.bin", "c.bin"}, row.length);
        f.bed.desktop.atYield[row.yield] = [&] { f.bed.program().dialogUnloaded().CancelButton.onClick(); };
        f.bed.desktop.answers = {MessageAnswer::Yes};
        f.form.Command1.onClick();

        EXPECT_EQ(PathExists(paths[0]), !row.firstWiped);
        EXPECT_EQ(ReadBytes(paths[1]), std::string(row.length, 'x'));
        EXPECT_EQ(ReadBytes(paths[2]), std::string(row.length, 'x'));
        ExpectMessages(f.bed.desktop.messages,
                       row.firstWiped ? std::vector{kQuestion} : std::vector{kQuestion, kCancelled});
        EXPECT_TRUE(f.bed.desktop.commandLines.empty());
        EXPECT_EQ(f.bed.program().CancelFlag, 1);
        EXPECT_FALSE(f.bed.program().IsDialogLoaded());
        EXPECT_TRUE(f.form.visible);
    }
}

TEST(DestroyFiles, ACompletedRunWithTheOptionTickedShutsDownOrSaysWhyItCouldNot) {
    const std::vector<std::string> both{"systemctl poweroff", "shutdown -h now"};
    const std::string refusal = "Failed to power off system via logind: Access denied";
    struct Row {
        const char* what;
        std::vector<bool> starts;
        CommandEnd end;
        std::vector<std::string> tried;
        std::vector<MessageRecord> boxes;
    };
    // A shutdown that fails leaves the completion box, followed by the failure.
    const Row rows[] = {
        {"systemctl", {true}, {}, {both[0]}, {kQuestion}},
        {"shutdown", {false, true}, {}, both, {kQuestion}},
        {"systemctl refused",
         {true},
         {1, refusal},
         {both[0]},
         {kQuestion, kCompleted, {refusal + " (1)", 0x30, "L28"}}},
        {"neither tool", {false}, {}, both, {kQuestion, kCompleted, {"File not found: shutdown (53)", 0x30, "L28"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FilesBed f;
        f.form.Check1.value = 1;
        f.bed.desktop.commandStarts = row.starts;
        f.bed.desktop.commandEnd = row.end;
        const auto paths = f.Pick({"a.bin", "b.bin"}, 10);
        f.bed.desktop.answers = {MessageAnswer::Yes};
        f.form.Command1.onClick();

        for (const auto& path : paths) EXPECT_FALSE(PathExists(path));
        ExpectMessages(f.bed.desktop.messages, row.boxes);
        EXPECT_EQ(f.bed.desktop.commandLines, row.tried);
        EXPECT_TRUE(f.form.visible);
    }
}

TEST(DestroyFiles, AfterACommandLineStartTheProgramEndsAtTheEndOfTheRun) {
    for (const bool picked : {false, true}) {
        SCOPED_TRACE(picked ? "a run" : "dialog cancelled");
        FilesBed f("\"somewhere\"");
        f.form.Check1.value = 1;
        const auto paths = f.Pick(picked ? std::vector<std::string>{"a.bin"} : std::vector<std::string>{}, 10);
        f.bed.desktop.answers = {MessageAnswer::Yes};
        EXPECT_THROW(f.form.Command1.onClick(), ProgramEnded);

        if (picked) {
            EXPECT_FALSE(PathExists(paths[0]));
        }
        ExpectMessages(f.bed.desktop.messages, picked ? std::vector{kQuestion} : std::vector<MessageRecord>{});
        EXPECT_TRUE(f.bed.desktop.commandLines.empty());
        EXPECT_FALSE(f.bed.program().IsDialogLoaded());
        EXPECT_EQ(f.form.mousePointer, MousePointer::Default);
    }
}

}  // namespace
}  // namespace scorvane::testing
