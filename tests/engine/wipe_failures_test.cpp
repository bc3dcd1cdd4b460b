// What a wipe does when the file system fails it, and with names that are not ordinary files: one message,
// the file kept under its own name, and the caller free to go on with its next file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "engine/OneFileWipe.h"
#include "support/Messages.h"
#include "support/MountedTmpfs.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

struct FailBed {
    FailBed() {
        bed.UseMarkerTexts();
        bed.program().form1();
    }
    TestBed bed;
    std::string path = bed.Work("f.bin");
};

// Wipes a 999-byte file by method 1 with `operation` failing (EIO) after its new name: one box naming
// both names, and the one 24-letter name left in the folder, which is returned; the closing message of
// the run names both names too.
std::string LeftoverOfAFailedEnd(FailBed& f, const char* operation) {
    WriteBytes(f.path, std::string(999, 'x'));
    f.bed.files.FailOperation(operation, EIO);
    WipeFile(f.bed.program(), f.path, 1);
    const auto entries = FolderEntries(f.bed.Work(""));
    EXPECT_EQ(entries.size(), 1u);
    if (entries.size() != 1) return "missing";
    EXPECT_EQ(entries[0].size(), 24u);
    const std::string both = f.path + " \u2192 " + f.bed.Work(entries[0]);
    ExpectMessages(f.bed.desktop.messages, {{"Device I/O error (57)\r" + both, 0x30, "L28"}});
    EXPECT_EQ(f.bed.program().Remaining.items(), std::vector<std::string>{both});
    return entries[0];
}

TEST(WipeFailure, AFailedStepShowsOneMessageAndKeepsTheFile) {
    struct Row {
        int method;
        std::int64_t length;
        const char* operation;
        int error;
        int skip;  // good calls of the operation before it fails
        std::string text;
    };
    const Row rows[] = {
        {1, 999, "WriteTaggedFill", ENOSPC, 0, "Disk full (61)"},
        {2, 999, "WriteRaw", ENOSPC, 0, "Disk full (61)"},  // the small-file byte pass
        {2, 5000, "WriteRaw", ENOSPC, 40, "Disk full (61)"},
        {4, 5000, "WriteTaggedFill", EIO, 150, "Device I/O error (57)"},
        {0, 5000, "WriteTaggedFill", EDQUOT, 100, "Disk full (61)"},                   // the remainder
        {1, 999, "WriteTaggedFill", ENAMETOOLONG, 0, "Bad file name or number (52)"},  // 52 is not skipped
        {3, 999, "WriteRaw", EACCES, 0, "Permission denied (70)"},                     // the second pass
        {1, 5000, "Open", EPERM, 0, "Operation not permitted (70)"},
        {1, 999, "Open", EROFS, 0, "Read-only file system (70)"},
        {1, 999, "Identify", EIO, 0, "Device I/O error (57)"},
        {5, 999, "Flush", EIO, 3, "Device I/O error (57)"},
        {6, 1003, "Seek", EINVAL, 250, "Invalid procedure call or argument (5)"},
        {7, 999, "Seek", EFBIG, 4, "Bad record number (63)"},
        {8, 999, "WriteRaw", ENOSPC, 10, "Disk full (61)"},
        {8, 999, "Open", EACCES, 0, "Permission denied (70)"},
        {8, 999, "Flush", EIO, 34, "Device I/O error (57)"},
        {8, 5, "Seek", EINVAL, 0, "Invalid procedure call or argument (5)"},
        {1, 999, "Rename", EACCES, 0, "Permission denied (70)"},
        {2, 5000, "Rename", EEXIST, 0, "File already exists (58)"},  // every fresh name taken
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.operation) + " failing in method " + std::to_string(row.method) + ", " +
                     std::to_string(row.length) + " bytes");
        FailBed f;
        WriteBytes(f.path, std::string(static_cast<std::size_t>(row.length), 'x'));
        f.bed.files.FailOperation(row.operation, row.error, row.skip);
        WipeFile(f.bed.program(), f.path, row.method);

        if (row.error == EEXIST) {
            EXPECT_GT(f.bed.files.failures(), 1);
        } else {
            EXPECT_EQ(f.bed.files.failures(), 1);
        }
        ExpectMessages(f.bed.desktop.messages, {{row.text + "\r" + f.path, 0x30, "L28"}});
        EXPECT_EQ(FolderEntries(f.bed.Work("")), std::vector<std::string>{"f.bin"});
        EXPECT_GE(ReadBytes(f.path).size(), static_cast<std::size_t>(row.length));
        EXPECT_EQ(f.bed.program().CancelFlag, 0);
        if (row.method == 8) {
            EXPECT_EQ(f.bed.program().form1().mousePointer, MousePointer::Default);
        }
        if (std::string(row.operation) == "Rename" && row.method == 1) {
            EXPECT_EQ(ReadBytes(f.path), std::string("\x08\x00\xE7\x03", 4) + std::string(999, '0'));
        }

        // A caller working through a list goes on with its next file.
        f.bed.files.Heal();
        WriteBytes(f.bed.Work("g.bin"), "next");
        WipeFile(f.bed.program(), f.bed.Work("g.bin"), row.method);
        EXPECT_EQ(FolderEntries(f.bed.Work("")), std::vector<std::string>{"f.bin"});
        EXPECT_EQ(f.bed.desktop.messages.size(), 1u);
    }
}

// It is that file's failure alone: the run goes on with its next file.
TEST(WipeFailure, TheThirtyFivePassMethodReportsAnUnreadableLengthItself) {
    const std::vector<std::pair<int, std::string>> rows = {
        {ENOENT, "File not found"}, {EOVERFLOW, "Overflow\r\rL66"}, {EIO, "L68: 57\rDevice I/O error"}};
    for (const auto& [error, text] : rows) {
        SCOPED_TRACE(text);
        FailBed f;
        WriteBytes(f.path, "abcdef");
        WriteBytes(f.bed.Work("next.bin"), "next");
        f.bed.files.FailOperation("Length", error, 0, 1);
        WipeFile(f.bed.program(), f.path, 8);
        WipeFile(f.bed.program(), f.bed.Work("next.bin"), 8);
        ExpectMessages(f.bed.desktop.messages, {{text + "\r" + f.path, 0x30, "L67"}});
        EXPECT_EQ(f.bed.program().CancelFlag, 0);
        EXPECT_EQ(ReadBytes(f.path), "abcdef");
        EXPECT_EQ(FolderEntries(f.bed.Work("")), std::vector<std::string>{"f.bin"});
        EXPECT_EQ(f.bed.program().Remaining.items(), std::vector<std::string>{f.path});
    }
}

// A failing drive gives one box per failure number in a run, not one per file: the files after the first
// join what remains without a box, so the run goes on. A new run shows a failure again.
TEST(WipeFailure, OneBoxPerFailureNumberInARunAndEveryFileRemembered) {
    FailBed f;
    Program& program = f.bed.program();
    std::vector<std::string> paths;
    for (const char* name : {"a.bin", "b.bin", "c.bin", "d.bin"}) {
        paths.push_back(f.bed.Work(name));
        WriteBytes(paths.back(), std::string(2000, 'x'));
    }
    ASSERT_EQ(::link(paths[3].c_str(), f.bed.Work("other-name").c_str()), 0);
    WriteBytes(f.bed.Work("e.bin"), "e");
    ASSERT_EQ(::link(f.bed.Work("e.bin").c_str(), f.bed.Work("e-name").c_str()), 0);
    f.bed.files.FailOperation("Open", EIO);
    WipeFile(program, paths[0], 2);
    WipeFile(program, paths[1], 2);
    f.bed.files.FailOperation("Open", ENOSPC);
    WipeFile(program, paths[2], 2);
    WipeFile(program, paths[3], 2);  // two names: a reason of its own, shown once too
    WipeFile(program, f.bed.Work("e.bin"), 2);
    ExpectMessages(f.bed.desktop.messages, {{"Device I/O error (57)\r" + paths[0], 0x30, "L28"},
                                            {"Disk full (61)\r" + paths[2], 0x30, "L28"},
                                            {"L87\r" + paths[3], 0x30, "L28"}});
    EXPECT_EQ(program.Remaining.items(),
              (std::vector<std::string>{paths[0], paths[1], paths[2], paths[3], f.bed.Work("e.bin")}));
    EXPECT_EQ(program.CancelFlag, 0);

    program.Remaining.Clear();
    f.bed.files.FailOperation("Open", EIO);
    WipeFile(program, paths[1], 2);
    EXPECT_EQ(f.bed.desktop.messages.back().text, "Device I/O error (57)\r" + paths[1]);
}

// Every file is closed on every way out, a failed rename included: a long run of such failures must not
// run out of descriptors.
TEST(WipeFailure, AFailedWipeLeavesNoFileOpen) {
    const auto open = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    FailBed f;
    for (const char* operation : {"Rename", "Truncate", "Delete", "WriteRaw", "Flush"}) {
        SCOPED_TRACE(operation);
        const auto before = open();
        for (int i = 0; i < 20; ++i) {
            const std::string path = f.bed.Work(std::string(operation) + std::to_string(i));
            WriteBytes(path, std::string(1500, 'x'));
            f.bed.files.FailOperation(operation, EACCES);
            WipeFile(f.bed.program(), path, 2);
        }
        EXPECT_EQ(open(), before);
    }
}

// A name without a folder part (relative to the working folder, as a command line may give it) is renamed
// in its own folder, whatever folder an earlier item left in ItemFolder.
TEST(WipeFailure, ARelativeNameIsRenamedInItsOwnFolder) {
    FailBed f;
    MakeTree(f.bed.Work("here"), {"f.bin"});
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(f.bed.Work("here"));
    f.bed.program().form1().ItemFolder = f.bed.Work("elsewhere/");  // an earlier item's folder, gone since
    WipeFile(f.bed.program(), "f.bin", 1);
    std::filesystem::current_path(before);
    EXPECT_TRUE(f.bed.desktop.messages.empty()) << f.bed.desktop.messages.front().text;
    EXPECT_TRUE(FolderEntries(f.bed.Work("here")).empty());
}

TEST(WipeFailure, AReadOnlyFileIsWipedAndAMissingOneSkippedSilently) {
    for (const int method : {1, 2, 7, 8}) {
        for (const std::int64_t length : {999, 1500}) {
            SCOPED_TRACE("method " + std::to_string(method) + ", " + std::to_string(length) + " bytes");
            FailBed f;
            WriteBytes(f.path, std::string(static_cast<std::size_t>(length), 'x'));
            ASSERT_EQ(::chmod(f.path.c_str(), 0400), 0);
            // Stopped before its new name, the file shows that its owner may write it again.
            f.bed.files.FailOperation("Rename", EACCES);
            WipeFile(f.bed.program(), f.path, method);
            struct stat info {};
            ASSERT_EQ(::stat(f.path.c_str(), &info), 0);
            EXPECT_NE(info.st_mode & S_IWUSR, 0u);
            EXPECT_NE(ReadBytes(f.path).substr(0, 8), std::string(8, 'x'));

            f.bed.files.Heal();
            f.bed.desktop.messages.clear();
            ASSERT_EQ(::chmod(f.path.c_str(), 0400), 0);
            WipeFile(f.bed.program(), f.path, method);
            EXPECT_TRUE(FolderEntries(f.bed.Work("")).empty());
            WipeFile(f.bed.program(), f.path, method);  // now missing
            EXPECT_TRUE(f.bed.desktop.messages.empty());
        }
    }
}

TEST(WipeFailure, LinksAndSpecialFilesAreRemovedAsNamesNeverFollowed) {
    FailBed f;
    const std::string outside = f.bed.Root() + "/outside";
    std::filesystem::create_directories(outside + "/folder");
    WriteBytes(outside + "/target.bin", std::string(3000, 'T'));
    WriteBytes(outside + "/folder/inner.bin", "inner");
    const std::vector<std::pair<std::string, std::string>> links = {
        {"to-file", outside + "/target.bin"}, {"to-folder", outside + "/folder"}, {"dangling", outside + "/none"}};
    for (const auto& [name, target] : links) ASSERT_EQ(::symlink(target.c_str(), f.bed.Work(name).c_str()), 0);
    ASSERT_EQ(::mkfifo(f.bed.Work("fifo").c_str(), 0600), 0);
    std::filesystem::create_directories(f.bed.Work("sub"));
    WriteBytes(f.bed.Work("bad\xFF\xFE.bin"), std::string(700, 'n'));  // not UTF-8: wiped like any other

    for (const std::string name : {"to-file", "to-folder", "dangling", "fifo", "sub", "missing", "bad\xFF\xFE.bin"}) {
        for (const int method : {1, 8}) WipeFile(f.bed.program(), f.bed.Work(name), method);
    }
    EXPECT_EQ(FolderEntries(f.bed.Work("")), std::vector<std::string>{"sub"});  // a folder is not a file
    EXPECT_EQ(ReadBytes(outside + "/target.bin"), std::string(3000, 'T'));
    EXPECT_EQ(ReadBytes(outside + "/folder/inner.bin"), "inner");
    EXPECT_TRUE(f.bed.desktop.messages.empty());
    EXPECT_TRUE(f.bed.desktop.events.empty());
}

TEST(WipeFailure, TheNewNameNeverReplacesAnExistingFile) {
    // With the fixed random stream two beds draw the same new name: learn it from a stub whose deletion
    // fails, then have a file of that name waiting in the second bed.
    std::string stubName;
    {
        FailBed f;
        stubName = LeftoverOfAFailedEnd(f, "Delete");
        EXPECT_EQ(stubName.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXY"), std::string::npos);
        EXPECT_EQ(ReadBytes(f.bed.Work(stubName)), " \r\n");
    }
    FailBed f;
    WriteBytes(f.path, std::string(999, 'x'));
    WriteBytes(f.bed.Work(stubName), "keep me");
    WipeFile(f.bed.program(), f.path, 1);
    EXPECT_EQ(FolderEntries(f.bed.Work("")), std::vector<std::string>{stubName});
    EXPECT_EQ(ReadBytes(f.bed.Work(stubName)), "keep me");
    EXPECT_TRUE(f.bed.desktop.messages.empty());

    // A name taken a few times over is retried with fresh names.
    WriteBytes(f.path, "again");
    f.bed.files.FailOperation("Rename", EEXIST, 0, 3);
    WipeFile(f.bed.program(), f.path, 2);
    EXPECT_EQ(f.bed.files.failures(), 3);
    EXPECT_EQ(FolderEntries(f.bed.Work("")), std::vector<std::string>{stubName});
    EXPECT_TRUE(f.bed.desktop.messages.empty());
}

TEST(WipeFailure, AFullDiskStopsAPassThatGrowsTheFile) {
    FailBed f;
    const std::string disk = f.bed.Root() + "/disk";
    MountedTmpfs tmpfs(disk, "128k");
    SKIP_UNLESS_MOUNTED(tmpfs);

    // 102,400 bytes fill whole pages and end on a whole chunk (r = 0): a character pass adds 2 bytes.
    const std::string path = disk + "/f.bin";
    const std::string content(102'400, 'x');
    WriteBytes(path, content);
    const int filler = ::open((disk + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(filler, 0);
    const std::string page(4096, 'F');
    while (::write(filler, page.data(), page.size()) == static_cast<ssize_t>(page.size())) {
    }
    ::close(filler);

    WipeFile(f.bed.program(), path, 1);
    ASSERT_EQ(f.bed.desktop.messages.size(), 1u);
    EXPECT_EQ(f.bed.desktop.messages[0].text, "Disk full (61)\r" + path);
    EXPECT_EQ(f.bed.desktop.messages[0].title, "L28");
    EXPECT_EQ(FolderEntries(disk), (std::vector<std::string>{"f.bin", "filler"}));
    EXPECT_EQ(ReadBytes(path).size(), content.size());

    // A random pass needs no new space: the same file is wiped on the full disk.
    f.bed.desktop.messages.clear();
    WipeFile(f.bed.program(), path, 2);
    EXPECT_TRUE(f.bed.desktop.messages.empty());
    EXPECT_EQ(FolderEntries(disk), std::vector<std::string>{"filler"});
}

// The content is overwritten before the stub is cut: a failed cut is reported and nothing is deleted
// unseen, while the old name and content are already gone.
TEST(WipeFailure, AFailedCutIsReportedAndLeavesOnlyTheOverwrittenFile) {
    FailBed f;
    EXPECT_EQ(ReadBytes(f.bed.Work(LeftoverOfAFailedEnd(f, "PrintLine"))), "");  // cut, never written again
}

}  // namespace
}  // namespace scorvane::testing
