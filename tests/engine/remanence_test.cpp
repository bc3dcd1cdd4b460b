// Proves the purpose of wiping: after a wipe, the old content is nowhere on the raw disk. Each case
// builds a small ext4 image inside its own temporary folder, loop-mounts it, wipes files full of a
// marker, unmounts, and scans every byte of the image.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "engine/OneFileWipe.h"
#include "support/LoopMount.h"
#include "support/Messages.h"
#include "support/TestBed.h"
#include "ui/DestroyFolderCommand.h"

namespace scorvane::testing {
namespace {

constexpr std::string_view kMarker = "#Scorvane~Mark#7";  // 16 bytes that no pass and no ext4 structure writes
// Not a multiple of 100: the last part of a chunked pass is written too.
constexpr std::size_t kLargeLength = 300 * 1024 + 57;
constexpr std::size_t kSmallLength = 700;  // below the small-file limit: written in one piece per pass

// Writes the bytes and forces them to the disk, as a user's saved file would be.
void WriteSynced(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        ASSERT_GT(written, 0) << path;
        done += static_cast<std::size_t>(written);
    }
    ASSERT_EQ(::fsync(fd), 0);
    ::close(fd);
}

std::string MarkerFile(std::size_t length) {
    std::string bytes;
    while (bytes.size() < length) bytes += kMarker;
    bytes.resize(length);
    return bytes;
}

// Places where a piece of at least 8 bytes of the marker file begins: a remnant of a wipe that missed a
// few bytes is found too, not only a whole marker.
std::size_t MarkerRemnants(const std::string& image) {
    constexpr std::size_t kPiece = 8;
    const std::string cycle = std::string(kMarker) + std::string(kMarker);
    std::size_t count = 0;
    for (std::size_t phase = 0; phase < kMarker.size(); ++phase) {
        const std::string_view piece = std::string_view(cycle).substr(phase, kPiece);
        for (auto at = image.find(piece); at != std::string::npos; at = image.find(piece, at + 1)) ++count;
    }
    return count;
}

class RemanenceTest : public ::testing::TestWithParam<int> {};

TEST_P(RemanenceTest, WipedFilesLeaveNoMarkerOnTheRawDisk) {
    const int method = GetParam();
    TestBed bed;
    LoopMount disk(bed.Root());
    MOUNT_OR_SKIP(disk);

    const std::vector<std::string> paths = {disk.File("large.bin"), disk.File("small.txt")};
    WriteSynced(paths[0], MarkerFile(kLargeLength));
    WriteSynced(paths[1], MarkerFile(kSmallLength));

    for (const auto& path : paths) WipeFile(bed.program(), path, method);

    EXPECT_TRUE(bed.desktop.messages.empty()) << bed.desktop.messages.front().text;
    EXPECT_EQ(bed.program().CancelFlag, 0);
    EXPECT_EQ(FolderEntries(disk.folder()), std::vector<std::string>{"lost+found"});
    disk.Unmount();
    EXPECT_EQ(MarkerRemnants(disk.Image()), 0u) << "method " << method;
}

INSTANTIATE_TEST_SUITE_P(Methods, RemanenceTest, ::testing::Range(0, 9));

// The control: a plain delete leaves the content on the disk, so the scan above can see a marker.
TEST(RemanenceControl, PlainDeleteLeavesTheMarkerOnTheRawDisk) {
    TestBed bed;
    LoopMount disk(bed.Root());
    MOUNT_OR_SKIP(disk);

    WriteSynced(disk.File("large.bin"), MarkerFile(kLargeLength));
    WriteSynced(disk.File("small.txt"), MarkerFile(kSmallLength));
    ASSERT_EQ(::unlink(disk.File("large.bin").c_str()), 0);
    ASSERT_EQ(::unlink(disk.File("small.txt").c_str()), 0);
    disk.Unmount();
    EXPECT_GE(MarkerRemnants(disk.Image()), (kLargeLength + kSmallLength) * 9 / 10);
}

// A tree wiped by the folder command: no piece of any file and no name of a file or folder is left on
// the disk. The check of names runs on a file system without a journal, which keeps copies of the
// folders' blocks as they were (the README says so).
TEST(RemanenceTree, AWipedTreeLeavesNoContentAndNoNameOnTheRawDisk) {
    const std::vector<std::string> names = {"QuillSecretTop", "QuillSecretMid", "QuillSecretLow",
                                            "QuillLetterOne", "QuillLetterTwo", "QuillLetterSix"};
    for (const bool journal : {true, false}) {
        SCOPED_TRACE(journal ? "with a journal" : "without a journal");
        TestBed bed;
        bed.UseMarkerTexts();
        bed.program().form1Unloaded().onLoad = {};
        bed.program().form1().Combo1.listIndex = 2;
        LoopMount disk(bed.Root(), journal ? std::vector<std::string>{} : std::vector<std::string>{"^has_journal"});
        MOUNT_OR_SKIP(disk);
        const std::string top = disk.File(names[0]), mid = top + "/" + names[1], low = mid + "/" + names[2];
        ASSERT_EQ(::mkdir(top.c_str(), 0700), 0);
        ASSERT_EQ(::mkdir(mid.c_str(), 0700), 0);
        ASSERT_EQ(::mkdir(low.c_str(), 0700), 0);
        WriteSynced(top + "/" + names[3], MarkerFile(kSmallLength));
        WriteSynced(mid + "/" + names[4], MarkerFile(kLargeLength));
        WriteSynced(low + "/" + names[5], MarkerFile(kSmallLength));
        ::sync();

        bed.desktop.folderAnswers = {top};
        bed.desktop.answers = {MessageAnswer::Yes};
        Command3_Click(bed.program());
        EXPECT_EQ(bed.desktop.messages.back().text, kCompleted.text);
        EXPECT_EQ(FolderEntries(disk.folder()), std::vector<std::string>{"lost+found"});
        disk.Unmount();
        const std::string image = disk.Image();
        EXPECT_EQ(MarkerRemnants(image), 0u);
        if (!journal) {
            for (const auto& name : names) EXPECT_EQ(image.find(name), std::string::npos) << name;
        }
    }
}

// Names. Every file and folder name of the tree below carries this marker, which no pass, no random
// name and no ext4 structure writes.
constexpr std::string_view kNameMarker = "~Sv7n~";

// The name `tag` with the marker, padded with 'x' to `length` bytes.
std::string MarkedName(const std::string& tag, std::size_t length) {
    std::string name = std::string(kNameMarker) + tag;
    if (name.size() < length) name.append(length - name.size(), 'x');
    return name;
}

// Byte ranges [from, to) of the image that hold the journal (inode 8), as debugfs lists its extents.
std::vector<std::pair<std::size_t, std::size_t>> JournalRanges(const LoopMount& disk, const std::string& image,
                                                               const std::string& log) {
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    if (!RunTool({"debugfs", "-R", "stat <8>", disk.image()}, log)) return ranges;
    const std::string stat = ReadBytes(log);
    const auto extents = stat.find("EXTENTS:");
    if (extents == std::string::npos || image.size() < 1024 + 28) return ranges;
    // The superblock starts at byte 1024; its block size is 1024 shifted by the word at byte 24.
    std::uint32_t shift = 0;
    for (int i = 3; i >= 0; --i) shift = shift << 8 | static_cast<std::uint8_t>(image[1024 + 24 + i]);
    const std::size_t blockSize = std::size_t{1024} << shift;
    // "(0-1):80-81, (2):83, ..." : logical blocks, then the physical blocks that hold them.
    const std::regex extent(R"(\(\d+(?:-\d+)?\):(\d+)(?:-(\d+))?)");
    for (std::sregex_iterator it(stat.begin() + static_cast<std::ptrdiff_t>(extents), stat.end(), extent), end;
         it != end; ++it) {
        const std::size_t first = std::stoull((*it)[1]);
        const std::size_t last = (*it)[2].matched ? std::stoull((*it)[2]) : first;
        ranges.emplace_back(first * blockSize, (last + 1) * blockSize);
    }
    return ranges;
}

struct NameCounts {
    std::size_t outsideJournal = 0;
    std::size_t insideJournal = 0;
};

// How many marked names the raw image holds, outside the journal and inside it.
NameCounts CountNames(const LoopMount& disk, const std::string& log) {
    const std::string image = disk.Image();
    const auto journal = JournalRanges(disk, image, log);
    EXPECT_FALSE(journal.empty()) << ReadBytes(log);
    NameCounts counts;
    for (auto at = image.find(kNameMarker); at != std::string::npos; at = image.find(kNameMarker, at + 1)) {
        const bool inJournal = std::any_of(journal.begin(), journal.end(),
                                           [at](const auto& range) { return at >= range.first && at < range.second; });
        ++(inJournal ? counts.insideJournal : counts.outsideJournal);
    }
    return counts;
}

// A folder whose entries no longer fit in one block is indexed (an htree), unlike a small one.
bool IsIndexedFolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int flags = 0;
    const bool read = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (fd >= 0) ::close(fd);
    return read && (flags & FS_INDEX_FL) != 0;
}

// A tree of marked names, on the disk before the run as any real folder's names would be: names shorter
// than the 24-letter new name, as long and longer, in plain folders four deep (one of them holds only a
// folder) and in an indexed one. Returns how many names it made.
std::size_t MakeMarkedTree(const std::string& top) {
    constexpr std::size_t kIndexedEntries = 90;
    std::size_t names = 0;
    const auto folder = [&names](const std::string& path) {
        EXPECT_EQ(::mkdir(path.c_str(), 0700), 0) << path;
        ++names;
    };
    const auto file = [&names](const std::string& path) {
        WriteSynced(path, MarkerFile(40));
        ++names;
    };
    folder(top);
    const std::string mid = top + "/" + MarkedName("mid", 24), low = mid + "/" + MarkedName("low", 200);
    const std::string bottom = low + "/" + MarkedName("bottom", 12), wide = top + "/" + MarkedName("wide", 9);
    folder(mid);
    folder(low);
    folder(bottom);
    folder(wide);
    for (const std::size_t length : {7, 24, 60, 255}) {
        const std::string tag = "f" + std::to_string(length);
        file(top + "/" + MarkedName(tag, length));
        file(mid + "/" + MarkedName(tag, length));
    }
    file(bottom + "/" + MarkedName("deep", 12));
    // Files take every pass of the method; empty folders keep the indexed folder large at little cost.
    for (std::size_t i = 0; i < kIndexedEntries; ++i) {
        const std::string name = wide + "/" + MarkedName("w" + std::to_string(i), 7 + i * 7 % 120);
        i % 3 == 0 ? file(name) : folder(name);
    }
    EXPECT_TRUE(IsIndexedFolder(wide)) << "the wide folder should outgrow one block";
    ::sync();
    return names;
}

// A tree wiped by the folder command keeps none of its names outside the ext4 journal: each folder's
// cleared blocks reach the disk before the folder releases them. The journal keeps older copies of
// those blocks (the README says so); how many names it holds is recorded, not asserted.
class NameRemanenceTest : public ::testing::TestWithParam<int> {};

TEST_P(NameRemanenceTest, AWipedTreeLeavesNoNameOutsideTheJournal) {
    const int method = GetParam();
    TestBed bed;
    bed.UseMarkerTexts();
    bed.program().form1Unloaded().onLoad = {};
    bed.program().form1().Combo1.listIndex = method;
    LoopMount disk(bed.Root());
    MOUNT_OR_SKIP(disk);
    const std::string top = disk.File(MarkedName("top", 16));
    const std::size_t names = MakeMarkedTree(top);
    // The control: before the run the names are found on the disk, outside the journal.
    EXPECT_GE(CountNames(disk, bed.Root() + "/before.txt").outsideJournal, names);

    bed.desktop.folderAnswers = {top};
    bed.desktop.answers = {MessageAnswer::Yes};
    Command3_Click(bed.program());
    EXPECT_EQ(bed.desktop.messages.back().text, kCompleted.text);
    EXPECT_EQ(FolderEntries(disk.folder()), std::vector<std::string>{"lost+found"});
    disk.Unmount();

    const NameCounts after = CountNames(disk, bed.Root() + "/after.txt");
    EXPECT_EQ(after.outsideJournal, 0u) << "method " << method << ", " << names << " names";
    RecordProperty("names", static_cast<int>(names));
    RecordProperty("names_in_journal", static_cast<int>(after.insideJournal));
}

INSTANTIATE_TEST_SUITE_P(Methods, NameRemanenceTest, ::testing::Values(0, 2, 8));

}  // namespace
}  // namespace scorvane::testing
