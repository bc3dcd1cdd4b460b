#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/PosixFileServices.h"
#include "support/MountedTmpfs.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

template <typename T>
int FailureOf(const Result<T>& result) {
    return result.ok() ? 0 : result.failure().number;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

const std::string kNul(1, '\0');

class FileServicesTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir.path() + "/" + name; }
    std::string MakeFile(const std::string& name, const std::string& content = {}) {
        WriteBytes(Path(name), content);
        return Path(name);
    }
    FileHandle OpenOk(const std::string& path, OpenMode mode) {
        auto file = files.Open(path, mode);
        EXPECT_TRUE(file.ok()) << path;
        return file.ok() ? file.value() : -1;
    }
    void Link(const std::string& target, const std::string& name) {
        ASSERT_EQ(::symlink(target.c_str(), Path(name).c_str()), 0);
    }
    // Every field (or line) of a file with this content, until the read past the end.
    std::vector<std::string> ReadAll(const std::string& content, bool fields) {
        const FileHandle file = OpenOk(MakeFile("in", content), OpenMode::TextInput);
        std::vector<std::string> read;
        for (;;) {
            auto next = fields ? files.ReadField(file) : files.ReadLine(file);
            if (!next) {
                EXPECT_EQ(next.failure().number, 62);
                break;
            }
            read.push_back(next.value());
        }
        EXPECT_TRUE(files.AtEnd(file));
        files.CloseAll();
        return read;
    }

    TempDir dir;
    PosixFileServices files;
};

TEST_F(FileServicesTest, TaggedWriteLeavesTagLengthAndText) {
    const std::pair<std::size_t, std::string> rows[] = {
        {5, std::string("\x05\0", 2)}, {0, std::string(2, '\0')}, {256, std::string("\x00\x01", 2)},
        {65535, "\xFF\xFF"},           {70000, "\xFF\xFF"},       {3 * 1024 * 1024 + 5, "\xFF\xFF"},
    };
    for (const auto& [length, field] : rows) {
        SCOPED_TRACE(length);
        const std::string header = std::string("\x08\x00", 2) + field;
        const std::string path = MakeFile("tagged");
        const FileHandle file = OpenOk(path, OpenMode::ByteAccess);
        // Each write starts where the last ended.
        ASSERT_TRUE(files.WriteTaggedFill(file, 'q', static_cast<std::int64_t>(length)).ok());
        ASSERT_TRUE(files.WriteTaggedFill(file, 'r', 2).ok());
        ASSERT_TRUE(files.Close(file).ok());
        EXPECT_EQ(ReadBytes(path), header + std::string(length, 'q') + std::string("\x08\0\x02\0rr", 6));
    }
}

TEST_F(FileServicesTest, SeekCountsFromOneAndKeepsTheRest) {
    const std::string path = MakeFile("seek", "0123456789");
    const FileHandle file = OpenOk(path, OpenMode::ByteAccess);
    EXPECT_EQ(files.Length(file).value(), 10);  // an existing file keeps its length until written
    ASSERT_TRUE(files.Seek(file, 3).ok());
    ASSERT_TRUE(files.WriteRaw(file, std::vector<std::uint8_t>{'A', 'B'}).ok());
    ASSERT_TRUE(files.WriteRaw(file, std::vector<std::uint8_t>{'C'}).ok());
    ASSERT_TRUE(files.Flush(file).ok());
    EXPECT_EQ(ReadBytes(path), "01ABC56789");
    ASSERT_TRUE(files.Seek(file, 1).ok());
    ASSERT_TRUE(files.WriteTaggedFill(file, 'x', 1).ok());
    ASSERT_TRUE(files.Seek(file, 13).ok());
    ASSERT_TRUE(files.WriteRaw(file, std::vector<std::uint8_t>{'Z'}).ok());
    EXPECT_EQ(files.Length(file).value(), 13);
    EXPECT_EQ(ReadBytes(path), std::string("\x08\0\x01\0x56789\0\0Z", 13));
    EXPECT_EQ(FailureOf(files.Seek(file, 0)), 63);
    EXPECT_EQ(FailureOf(files.Seek(file, -4)), 63);
}

TEST_F(FileServicesTest, OpenModesCreateCutOrRefuse) {
    const std::string target = MakeFile("target", "keep me");
    Link(target, "link");
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(Path("folder"));
    struct Row {
        std::string path;
        OpenMode mode;
        int failure;  // -1: any failure
    };
    const Row rows[] = {
        {Path("missing"), OpenMode::ByteAccess, 53},
        {Path("missing"), OpenMode::TextInput, 53},
        {Path("link"), OpenMode::ByteAccess, 70},
        {Path("link"), OpenMode::TextOutput, 70},
        {Path("link"), OpenMode::TextInput, 53},
        {Path("fifo"), OpenMode::ByteAccess, 70},
        {Path("fifo"), OpenMode::TextInput, 53},
        {Path("folder"), OpenMode::TextInput, 70},
        {Path("folder"), OpenMode::ByteAccess, -1},
        {target + kNul, OpenMode::ByteAccess, 52},
        {target + kNul, OpenMode::TextOutput, 52},
        {"", OpenMode::TextInput, 52},
        {Path("no/such/folder"), OpenMode::TextOutput, 53},
    };
    for (const Row& row : rows) {
        const int failure = FailureOf(files.Open(row.path, row.mode));
        if (row.failure < 0)
            EXPECT_NE(failure, 0) << row.path;
        else
            EXPECT_EQ(failure, row.failure) << row.path;
    }
    EXPECT_FALSE(PathExists(Path("missing")));  // byte access never creates
    EXPECT_EQ(ReadBytes(target), "keep me");    // and nothing went through the link

    const FileHandle out = OpenOk(target, OpenMode::TextOutput);
    EXPECT_EQ(ReadBytes(target), "");
    ASSERT_TRUE(files.PrintLine(out, "line").ok());
    ASSERT_TRUE(files.PrintLine(out, "").ok());
    files.CloseAll();
    EXPECT_EQ(ReadBytes(target), "line\r\n\r\n");
}

TEST_F(FileServicesTest, HandlesAreNeverReused) {
    const FileHandle input = OpenOk(MakeFile("a", "x\r\n"), OpenMode::TextInput);
    const FileHandle bytes = OpenOk(MakeFile("b"), OpenMode::ByteAccess);
    // A text-input file takes no writes, and a byte-access file gives no lines.
    EXPECT_EQ(FailureOf(files.WriteRaw(input, std::vector<std::uint8_t>{'z'})), 52);
    EXPECT_EQ(FailureOf(files.ReadLine(bytes)), 52);
    files.CloseAll();
    const FileHandle again = OpenOk(Path("b"), OpenMode::ByteAccess);
    EXPECT_NE(again, input);
    EXPECT_NE(again, bytes);
    EXPECT_EQ(FailureOf(files.ReadField(input)), 52);
    EXPECT_EQ(FailureOf(files.WriteTaggedFill(bytes, 't', 1)), 52);
    EXPECT_EQ(FailureOf(files.Close(bytes)), 52);
    EXPECT_EQ(ReadBytes(Path("b")), "");
    ASSERT_TRUE(files.Close(again).ok());
    EXPECT_EQ(FailureOf(files.Close(again)), 52);
}

TEST_F(FileServicesTest, ReadFieldAndReadLineRules) {
    using Texts = std::vector<std::string>;
    const std::pair<std::string, Texts> fields[] = {
        {"  abc , \"x,y\" ,def\r\n\"q\"\n  last", {"abc", "x,y", "def", "q", "last"}},
        {"3,German.lng\r\nFrench.lng\r\n", {"3", "German.lng", "French.lng"}},
        {"3\nGerman.lng\n", {"3", "German.lng"}},
        {"\r\n,\r\n", {"", "", ""}},
        {"\"open quote\r\nnext", {"open quote", "next"}},
        {"\"a\"b,c", {"a", "c"}},
        {"a\rb\r\n", {"a\rb"}},
        {"   ", {}},
    };
    for (const auto& [content, expected] : fields) EXPECT_EQ(ReadAll(content, true), expected) << content;
    const std::pair<std::string, Texts> lines[] = {
        {"a\r\nb\nc", {"a", "b", "c"}},
        {"\r\n\r\n", {"", ""}},
        {"x\ry\r\n, \"q\"\n", {"x", "y", ", \"q\""}},  // a lone CR ends a line too
        {"a\r\rb\n\rc", {"a", "", "b", "", "c"}},
        {"end\r", {"end"}},
        {"", {}},
    };
    for (const auto& [content, expected] : lines) EXPECT_EQ(ReadAll(content, false), expected) << content;
    // Only the first 4 KiB of a line are kept, however long it is.
    const std::string big(200 * 1024, 'w');
    EXPECT_EQ(ReadAll(big + "\r\nz", false), (Texts{big.substr(0, 4096), "z"}));
}

TEST_F(FileServicesTest, ExistsFindsOnlyRegularFiles) {
    MakeFile("f.txt", "x");
    MakeFile(".hidden", "x");
    std::filesystem::create_directories(Path("sub/inner"));
    std::filesystem::create_directories(Path("onlyFolders/inner"));
    std::filesystem::create_directory(Path("onlyLink"));
    MakeFile("sub/a.txt");
    Link(Path("f.txt"), "link");
    Link(Path("f.txt"), "onlyLink/link");
    const std::pair<std::string, std::string> rows[] = {
        {Path("f.txt"), "f.txt"},   {Path(".hidden"), ".hidden"},
        {Path("sub"), ""},          {Path("link"), ""},
        {Path("missing"), ""},      {Path("sub/"), "a.txt"},
        {Path("onlyFolders/"), ""}, {Path("onlyLink/"), ""},
        {Path("missing/"), ""},     {"", ""},
        {Path("f.txt") + kNul, ""},
    };
    for (const auto& [path, name] : rows) EXPECT_EQ(files.Exists(path), name) << path;
}

TEST_F(FileServicesTest, RenameDeleteAndFolders) {
    MakeFile("a", "A");
    MakeFile("b", "B");
    std::filesystem::create_directory(Path("folder"));
    MakeFile("folder/inside");
    Link(Path("gone"), "dangling");
    for (const char* taken : {"b", "folder", "dangling"}) {
        EXPECT_EQ(FailureOf(files.Rename(Path("a"), Path(taken))), 58) << taken;  // never replaced
    }
    EXPECT_EQ(ReadBytes(Path("b")), "B");
    EXPECT_FALSE(PathExists(Path("gone")));
    ASSERT_TRUE(files.Rename(Path("a"), Path("c")).ok());
    EXPECT_EQ(ReadBytes(Path("c")), "A");
    EXPECT_FALSE(PathExists(Path("a")));
    EXPECT_EQ(FailureOf(files.Rename(Path("missing"), Path("x"))), 53);

    Link(Path("c"), "link");
    EXPECT_TRUE(files.Delete(Path("link")).ok());
    EXPECT_EQ(ReadBytes(Path("c")), "A");  // the link went, not its target
    EXPECT_EQ(FailureOf(files.Delete(Path("folder"))), 70);
    EXPECT_EQ(FailureOf(files.Delete(Path("missing"))), 53);
    EXPECT_EQ(FailureOf(files.MakeFolder(Path("folder"))), 58);
    EXPECT_EQ(FailureOf(files.RemoveFolder(Path("folder"))), 1000 + ENOTEMPTY);

    const std::string nul = Path("c") + kNul;
    const int failures[] = {FailureOf(files.Rename(nul, Path("x"))), FailureOf(files.Delete(nul)),
                            FailureOf(files.MakeFolder(nul)),        FailureOf(files.IdentifyName(nul)),
                            FailureOf(files.GetAttributes(nul)),     FailureOf(files.SetAttributes(nul, 0x80))};
    for (const int failure : failures) EXPECT_EQ(failure, 52);
    EXPECT_EQ(ReadBytes(Path("c")), "A");
}

TEST_F(FileServicesTest, AttributesReadAndSet) {
    struct Row {
        bool folder;
        mode_t before;
        std::uint32_t read, set;
        mode_t after;
    };
    const Row rows[] = {
        {false, 0644, Attribute::Normal, Attribute::ReadOnly, 0444},
        {false, 0400, Attribute::ReadOnly, Attribute::Normal, 0600},
        {false, 0444, Attribute::ReadOnly, Attribute::Archive, 0644},
        {true, 0755, Attribute::Folder, Attribute::Normal, 0755},
        {true, 0500, Attribute::Folder | Attribute::ReadOnly, Attribute::Archive, 0700},
    };
    int n = 0;
    for (const Row& row : rows) {
        const std::string path = Path("entry" + std::to_string(++n));
        if (row.folder)
            ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
        else
            MakeFile("entry" + std::to_string(n));
        ASSERT_EQ(::chmod(path.c_str(), row.before), 0);
        EXPECT_EQ(files.GetAttributes(path).value(), row.read) << n;
        EXPECT_TRUE(files.SetAttributes(path, row.set).ok());
        EXPECT_EQ(ModeOf(path), row.after) << n;
    }
    // A link is no folder, and its target keeps its mode.
    Link(Path("entry4"), "link");
    EXPECT_EQ(files.GetAttributes(Path("link")).value(), Attribute::Normal);
    ASSERT_EQ(::chmod(Path("entry1").c_str(), 0400), 0);
    Link(Path("entry1"), "fileLink");
    EXPECT_TRUE(files.SetAttributes(Path("fileLink"), Attribute::Normal).ok());
    EXPECT_EQ(ModeOf(Path("entry1")), 0400u);
    EXPECT_EQ(FailureOf(files.GetAttributes(Path("missing"))), 53);
}

TEST_F(FileServicesTest, ListFolderSortsFilesFoldersAndOthers) {
    std::filesystem::create_directories(Path("top/sub2"));
    std::filesystem::create_directories(Path("top/sub1"));
    for (const char* name : {"top/b.txt", "top/a.txt", "top/.dot"}) MakeFile(name);
    Link(Path("top/a.txt"), "top/link");
    Link(Path("top/sub1"), "top/folderLink");
    ASSERT_EQ(::mkfifo(Path("top/fifo").c_str(), 0600), 0);
    const auto listing = files.ListFolder(Path("top"));
    ASSERT_TRUE(listing.ok());
    EXPECT_EQ(listing.value().fileNames, (std::vector<std::string>{".dot", "a.txt", "b.txt"}));
    EXPECT_EQ(listing.value().subFolders, (std::vector<std::string>{Path("top/sub1"), Path("top/sub2")}));
    EXPECT_EQ(listing.value().others,
              (std::vector<std::string>{Path("top/fifo"), Path("top/folderLink"), Path("top/link")}));
    EXPECT_EQ(FailureOf(files.ListFolder(Path("missing"))), 53);
}

// An entry is never left out: that would make the folder look emptier than it is. Listed by another user,
// who may read the folder's names but not look at its entries, the file is named by the type the listing
// gives, or, where the file system gives none, the listing fails.
TEST_F(FileServicesTest, AListingNeverLeavesOutAnEntryItCannotLookAt) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to list the folder as another user";
    MakeTree(Path("names-only"), {"f"});
    ASSERT_EQ(::chmod(dir.path().c_str(), 0711), 0);
    ASSERT_EQ(::chmod(Path("names-only").c_str(), 0744), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        PosixFileServices own;
        const auto listing = own.ListFolder(Path("names-only"));
        const bool named = listing && listing.value().fileNames == std::vector<std::string>{"f"};
        ::_exit(named || FailureOf(listing) == 70 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// A file system that can flush nothing cannot say that a pass reached the disk: the flush fails.
TEST_F(FileServicesTest, AFlushTheFileSystemCannotDoFails) {
    const std::string queues = Path("queues"), queue = queues + "/scorvane-flush-test";
    ASSERT_EQ(::mkdir(queues.c_str(), 0700), 0);
    if (::mount("none", queues.c_str(), "mqueue", 0, nullptr) != 0) GTEST_SKIP() << "cannot mount an mqueue";
    struct Unmount {
        std::string folder, queue;
        ~Unmount() {
            ::unlink(queue.c_str());
            ::umount(folder.c_str());
        }
    } unmount{queues, queue};
    const int made = ::open(queue.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(made, 0);
    ::close(made);
    const FileHandle file = OpenOk(queue, OpenMode::ByteAccess);
    EXPECT_EQ(FailureOf(files.Flush(file)), 5);
    files.CloseAll();
}

// A path with a NUL names another file to the system; every operation must refuse it.
TEST_F(FileServicesTest, ListingAndFreeSpaceRefuseANulInThePath) {
    std::filesystem::create_directory(Path("top"));
    EXPECT_EQ(FailureOf(files.ListFolder(Path("top") + kNul + "x")), 52);
    EXPECT_EQ(FailureOf(files.QueryFreeSpace(Path("top") + kNul + "x")), 52);
}

TEST_F(FileServicesTest, ReadOnlyFileSystemRefusesWithPermissionDenied) {
    MountedTmpfs small(Path("ro"), "64k");
    SKIP_UNLESS_MOUNTED(small);
    const std::string file = MakeFile("ro/f", "data");
    if (!small.RemountReadOnly()) GTEST_SKIP() << "cannot remount the tmpfs read-only";
    const auto refused = files.Open(file, OpenMode::ByteAccess);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure().number, 70);
    EXPECT_EQ(refused.failure().description, std::strerror(EROFS));  // not a plain "Permission denied"
    EXPECT_EQ(FailureOf(files.Open(Path("ro/new"), OpenMode::TextOutput)), 70);
    EXPECT_EQ(FailureOf(files.Delete(file)), 70);
    EXPECT_EQ(FailureOf(files.Rename(file, Path("ro/g"))), 70);
    EXPECT_EQ(FailureOf(files.SetAttributes(file, Attribute::ReadOnly)), 70);
    const FileHandle input = OpenOk(file, OpenMode::TextInput);
    EXPECT_EQ(files.ReadLine(input).value(), "data");
    files.CloseAll();
}

TEST_F(FileServicesTest, FullFileSystemGivesDiskFullAndItsFreeSpace) {
    MountedTmpfs small(Path("full"), "16k");
    SKIP_UNLESS_MOUNTED(small);
    struct statvfs system {};
    ASSERT_EQ(::statvfs(Path("full").c_str(), &system), 0);
    const FreeSpace before = files.QueryFreeSpace(Path("full")).value();
    EXPECT_EQ(before.total, 16u * 1024u);
    EXPECT_EQ(before.totalFree, std::uint64_t{system.f_bfree} * system.f_frsize);
    EXPECT_EQ(before.freeToCaller, std::uint64_t{system.f_bavail} * system.f_frsize);
    EXPECT_EQ(before.totalFree, 16u * 1024u);

    const FileHandle raw = OpenOk(Path("full/raw"), OpenMode::TextOutput);
    EXPECT_EQ(FailureOf(files.WriteRaw(raw, std::vector<std::uint8_t>(64 * 1024, 0x5A))), 61);
    EXPECT_EQ(FailureOf(files.PrintLine(raw, "more")), 61);
    const FileHandle tagged = OpenOk(MakeFile("full/tagged"), OpenMode::ByteAccess);
    // A file's passes are gathered: the full disk shows at the latest when they are flushed.
    (void)files.WriteTaggedFill(tagged, 'x', 100000);
    EXPECT_EQ(FailureOf(files.Flush(tagged)), 61);
    EXPECT_EQ(FailureOf(files.WriteTaggedFill(tagged, 'y', 400000)), 61);
    const FreeSpace after = files.QueryFreeSpace(Path("full")).value();
    EXPECT_EQ(after.totalFree, 0u);
    EXPECT_EQ(after.freeToCaller, 0u);
    files.CloseAll();
    EXPECT_EQ(FailureOf(files.QueryFreeSpace("")), 53);
    EXPECT_EQ(FailureOf(files.QueryFreeSpace(Path("missing"))), 53);
}

// A walk must not cross into another file system: a folder with one mounted on it is listed apart.
TEST_F(FileServicesTest, ListingKeepsMountedSubFoldersApart) {
    std::filesystem::create_directories(Path("tree/plain"));
    MountedTmpfs mounted(Path("tree/mounted"), "16k");
    SKIP_UNLESS_MOUNTED(mounted);
    const FolderListing listing = files.ListFolder(Path("tree")).value();
    EXPECT_EQ(listing.subFolders, std::vector<std::string>{Path("tree/plain")});
    EXPECT_EQ(listing.mountPoints, std::vector<std::string>{Path("tree/mounted")});
}

TEST_F(FileServicesTest, CreateNewNeverOpensAnExistingName) {
    const std::string taken = MakeFile("taken", "user data");
    EXPECT_EQ(FailureOf(files.Open(taken, OpenMode::CreateNew)), 58);
    EXPECT_EQ(ReadBytes(taken), "user data");
    std::filesystem::create_symlink(taken, Path("link"));
    EXPECT_EQ(FailureOf(files.Open(Path("link"), OpenMode::CreateNew)), 58);
    const FileHandle fresh = OpenOk(Path("fresh"), OpenMode::CreateNew);
    ASSERT_TRUE(files.PrintLine(fresh, "x").ok());
    files.CloseAll();
    EXPECT_EQ(ReadBytes(Path("fresh")), "x\r\n");
}

}  // namespace
}  // namespace scorvane::testing
