// What another process cannot make a wipe do: swapping a folder of the tree for a link, swapping the file
// for a hard link or a new file, or appending to it while it is wiped never reaches, cuts or deletes
// anything outside what was chosen; and no depth of tree leaves a file behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "engine/OneFileWipe.h"
#include "support/Messages.h"
#include "support/MountedTmpfs.h"
#include "support/TestBed.h"
#include "ui/DestroyFolderCommand.h"

namespace scorvane::testing {
namespace {

namespace fs = std::filesystem;

// Files named f000.. holding "<tag> <n>" in `folder`, made with it.
void MakeFiles(const std::string& folder, int count, const std::string& tag) {
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        const std::string name = "f" + std::to_string(1000 + i).substr(1);
        WriteBytes(folder + "/" + name, tag + " " + std::to_string(i) + std::string(200, '.'));
    }
}

void ExpectUntouched(const std::string& folder, int count) {
    ASSERT_EQ(FolderEntries(folder).size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string name = "f" + std::to_string(1000 + i).substr(1);
        EXPECT_EQ(ReadBytes(folder + "/" + name), "outside " + std::to_string(i) + std::string(200, '.')) << name;
    }
}

// Another process, acting once: just before the file is opened, or at the end of the first pass.
class Interloper final : public ForwardingFileServices {
public:
    explicit Interloper(FileServices& real) : ForwardingFileServices(real) {}
    Result<FileHandle> Open(const std::string& path, OpenMode mode) override {
        if (beforeOpen) std::exchange(beforeOpen, nullptr)();
        return ForwardingFileServices::Open(path, mode);
    }
    Result<> Flush(FileHandle file) override {
        if (atFirstFlush) std::exchange(atFirstFlush, nullptr)();
        return ForwardingFileServices::Flush(file);
    }
    std::function<void()> beforeOpen, atFirstFlush;
};

struct SwapBed {
    SwapBed() {
        for (std::size_t n = 0; n < program.Lang.size(); ++n) program.Lang[n] = "L" + std::to_string(n);
        program.form1Unloaded().onLoad = {};
        program.form1();
        MakeFiles(outside, 1, "outside");
    }
    TestBed bed;
    Interloper files{bed.files};
    Program program{Platform{files, bed.desktop, bed.desktop, bed.drives, ProcessFacts{}, {}, [] { return ""; }}};
    std::string outside = bed.Root() + "/outside";
    std::string folder = bed.Work("sub");
    std::string path = bed.Work("sub/f000");
};

TEST(AnchoredWipe, ASwappedParentFileOrNameNeverLeadsOutside) {
    for (const int method : {1, 2, 8}) {
        SCOPED_TRACE("method " + std::to_string(method));
        {  // The file's folder becomes a link to an outside folder holding a file of the same name.
            SwapBed s;
            s.files.atFirstFlush = [&] {
                fs::rename(s.folder, s.folder + ".moved");
                fs::create_directory_symlink(s.outside, s.folder);
            };
            MakeFiles(s.folder, 1, "inside");
            WipeFile(s.program, s.path, method);
            ExpectUntouched(s.outside, 1);
            EXPECT_TRUE(FolderEntries(s.folder + ".moved").empty());
            EXPECT_TRUE(s.bed.desktop.messages.empty());
        }
        {  // The file becomes a hard link to an outside file just before it is opened.
            SwapBed s;
            MakeFiles(s.folder, 1, "inside");
            s.files.beforeOpen = [&] {
                fs::remove(s.path);
                fs::create_hard_link(s.outside + "/f000", s.path);
            };
            WipeFile(s.program, s.path, method);
            ExpectUntouched(s.outside, 1);
            ExpectMessages(s.bed.desktop.messages, {{"L90\r" + s.path, 0x30, "L28"}});
        }
        {  // A new file takes the name while the passes run; another program appends to the old one.
            SwapBed s;
            MakeFiles(s.folder, 1, "inside");
            s.files.atFirstFlush = [&] {
                fs::rename(s.path, s.path + ".moved");
                WriteBytes(s.path, "a new file");
            };
            WipeFile(s.program, s.path, method);
            EXPECT_EQ(ReadBytes(s.path), "a new file");
            EXPECT_EQ(FolderEntries(s.folder).size(), 2u);
            ExpectMessages(s.bed.desktop.messages, {{"L90\r" + s.path, 0x30, "L28"}});
        }
        {
            SwapBed s;
            MakeFiles(s.folder, 1, "inside");
            s.files.atFirstFlush = [&] {
                const int fd = ::open(s.path.c_str(), O_WRONLY | O_APPEND);
                for (int line = 0; line < 300; ++line) {
                    if (::write(fd, "appended line\n", 14) != 14) break;
                }
                ::close(fd);
            };
            WipeFile(s.program, s.path, method);
            EXPECT_NE(ReadBytes(s.path).find("appended line"), std::string::npos);
            ExpectMessages(s.bed.desktop.messages, {{"L90\r" + s.path, 0x30, "L28"}});
        }
    }
}

// Another process flips a folder of the tree to a link to an outside folder and back, as fast as it can,
// while the folder command works in it.
TEST(AnchoredWipe, AFolderFlippedToALinkDuringTheWalkNeverLeadsOutside) {
    constexpr int kFiles = 300;
    TestBed bed;
    bed.UseMarkerTexts();
    bed.program().form1Unloaded().onLoad = {};
    bed.program().form1().Combo1.listIndex = 1;
    const std::string top = bed.Work("T"), flipped = top + "/a", outside = bed.Root() + "/outside";
    MakeFiles(flipped, kFiles, "inside");
    MakeFiles(outside, kFiles, "outside");

    std::atomic<bool> stop{false};
    std::atomic<int> flips{0};
    std::thread flipper([&] {
        const std::string moved = flipped + ".moved";
        while (!stop) {
            if (::rename(flipped.c_str(), moved.c_str()) != 0) break;
            [[maybe_unused]] const int linked = ::symlink(outside.c_str(), flipped.c_str());
            std::this_thread::yield();
            (void)::unlink(flipped.c_str());
            if (::rename(moved.c_str(), flipped.c_str()) != 0) break;
            ++flips;
        }
    });
    bed.program().form1().FolderToWipe = top;
    Command3_Click(bed.program());
    stop = true;
    flipper.join();

    EXPECT_GT(flips.load(), 0);
    ExpectUntouched(outside, kFiles);
}

// Makes `levels` nested folders of `name` below `top`, each holding a marker file, without ever using
// a path longer than one name.
void MakeDeepTree(const std::string& top, int levels, const std::string& name) {
    fs::create_directories(top);
    int folder = ::open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    for (int level = 0; level < levels; ++level) {
        const int marker = ::openat(folder, "marker.txt", O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_GE(marker, 0);
        const std::string text = "level " + std::to_string(level) + " marker";
        ASSERT_EQ(::write(marker, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(marker);
        ASSERT_EQ(::mkdirat(folder, name.c_str(), 0700), 0);
        const int next = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(folder);
        ASSERT_GE(next, 0);
        folder = next;
    }
    ::close(folder);
}

// Paths far beyond the system's limit, and more levels than a process may hold open files.
TEST(AnchoredWipe, TreesOfAnyDepthAreDestroyedCompletely) {
    struct Row {
        int levels;
        std::string name;
    };
    for (const Row& row : {Row{120, std::string(50, 'n')}, Row{5000, "d"}}) {
        SCOPED_TRACE(std::to_string(row.levels) + " levels");
        TestBed bed;
        bed.UseMarkerTexts();
        bed.program().form1Unloaded().onLoad = {};
        bed.program().form1().Combo1.listIndex = 1;
        const std::string disk = bed.Root() + "/disk";
        MountedTmpfs tmpfs(disk, "48m");
        SKIP_UNLESS_MOUNTED(tmpfs);
        MakeDeepTree(disk + "/T", row.levels, row.name);

        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        const rlimit low{256, limit.rlim_max};
        ::setrlimit(RLIMIT_NOFILE, &low);
        bed.desktop.folderAnswers = {disk + "/T"};
        bed.desktop.answers = {MessageAnswer::Yes};
        Command3_Click(bed.program());
        ::setrlimit(RLIMIT_NOFILE, &limit);

        EXPECT_TRUE(FolderEntries(disk).empty());
        ASSERT_EQ(bed.desktop.messages.size(), 2u);
        EXPECT_EQ(bed.desktop.messages[1].text, kCompleted.text);
        EXPECT_EQ(bed.program().form1().List2.items.size(), static_cast<std::size_t>(row.levels) + 1);
    }
}

}  // namespace
}  // namespace scorvane::testing
