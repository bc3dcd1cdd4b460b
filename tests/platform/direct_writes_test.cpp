// The writes of a large file through a byte-access handle: wherever they start and end and whatever
// memory they come from, the bytes on disk are those plain writes leave, and their aligned part bypasses
// the page cache where the file system allows it; where it refuses, the cache takes them all.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "platform/AlignedBuffer.h"
#include "platform/DirectWrites.h"
#include "platform/PosixFileServices.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// Writes through `files` over the file `path` (8 MiB + 123 bytes of 0xC3, left in the page cache or not)
// `passes` times, each flushed and followed by `afterPass`: from unaligned and aligned positions, from
// unaligned memory, an aligned buffer and the fill of a tagged text, each write continuing, overlapping or
// leaving the one before, the last one up to the file's unaligned end. Gives the bytes the file must hold.
std::string WriteMix(FileServices& files, const std::string& path, bool cached, int passes = 1,
                     const std::function<void()>& afterPass = {}) {
    std::string expected(8 * kMiB + 123, '\xC3');
    WriteBytes(path, expected);
    if (!cached) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        EXPECT_EQ(::fdatasync(fd), 0);
        EXPECT_EQ(::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED), 0);
        ::close(fd);
    }
    const auto file = files.Open(path, OpenMode::ByteAccess);
    EXPECT_TRUE(file.ok());
    if (!file) return {};
    auto put = [&](std::size_t at, std::span<const std::uint8_t> bytes) {
        EXPECT_TRUE(files.Seek(file.value(), static_cast<std::int64_t>(at) + 1).ok());
        EXPECT_TRUE(files.WriteRaw(file.value(), bytes).ok());
        std::memcpy(expected.data() + at, bytes.data(), bytes.size());
    };
    std::vector<std::uint8_t> counted(3 * kMiB + 11);
    for (std::size_t k = 0; k < counted.size(); ++k) counted[k] = static_cast<std::uint8_t>(k * 7 + k / 4096);
    AlignedBuffer aligned(kMiB);
    for (std::size_t k = 0; k < aligned.size(); ++k) aligned.data()[k] = static_cast<std::uint8_t>(k / 512);
    for (int pass = 0; pass < passes; ++pass) {
        put(5000, std::span(counted).subspan(1));  // memory off any alignment
        put(3 * kMiB, {aligned.data(), aligned.size()});
        const std::size_t tagged = 4 * kMiB - 2, count = 2 * kMiB + 3;
        EXPECT_TRUE(files.Seek(file.value(), tagged + 1).ok());
        EXPECT_TRUE(files.WriteTaggedFill(file.value(), 'x', count).ok());
        expected.replace(tagged, 4, std::string("\x08\x00\xFF\xFF", 4));
        expected.replace(tagged + 4, count, count, 'x');
        put(6 * kMiB + 3, std::span(counted).first(expected.size() - (6 * kMiB + 3)));
        EXPECT_TRUE(files.Flush(file.value()).ok());
        if (afterPass) afterPass();
    }
    EXPECT_TRUE(files.Close(file.value()).ok());
    return expected;
}

// Whether the page of `path` at `offset` is in the page cache.
bool InCache(const std::string& path, std::size_t offset) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) return true;
    void* map = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_SHARED, fd, 0);
    unsigned char page = 1;
    if (map != MAP_FAILED) {
        (void)::mincore(static_cast<char*>(map) + offset / kPageBytes * kPageBytes, kPageBytes, &page);
        ::munmap(map, static_cast<std::size_t>(info.st_size));
    }
    ::close(fd);
    return (page & 1) != 0;
}

// Inside each write of WriteMix, a page past its head.
constexpr std::size_t kInsideWrites[] = {8192, 3 * kMiB + 4096, 4 * kMiB + 8192, 7 * kMiB};

TEST(DirectWrites, LargeFilesKeepEveryByteAndBypassTheCache) {
    TempDir dir;
    const std::string path = dir.path() + "/large.bin";
    struct statx info {};
    WriteBytes(path, "x");
    ASSERT_EQ(::statx(AT_FDCWD, path.c_str(), 0, STATX_DIOALIGN, &info), 0);
    if (!(info.stx_mask & STATX_DIOALIGN) || info.stx_dio_offset_align == 0 || info.stx_dio_offset_align > kPageBytes) {
        GTEST_SKIP() << dir.path() << " is on a file system without direct I/O";
    }
    PosixFileServices files;
    std::string expected = WriteMix(files, path, false);
    for (const std::size_t offset : kInsideWrites) EXPECT_FALSE(InCache(path, offset)) << offset;
    EXPECT_TRUE(InCache(path, expected.size() - 1));  // the last bytes, which end inside a page
    EXPECT_TRUE(ReadBytes(path) == expected);

    // A file wholly in the cache is overwritten there once, and past it from the second pass on.
    std::vector<bool> cachedAfterPass;
    expected = WriteMix(files, path, true, 2, [&] { cachedAfterPass.push_back(InCache(path, kInsideWrites[0])); });
    EXPECT_EQ(cachedAfterPass, (std::vector<bool>{true, false}));
    EXPECT_TRUE(ReadBytes(path) == expected);

    // A small file's passes stay in the cache.
    const std::string small = dir.path() + "/small.bin";
    WriteBytes(small, std::string(kDirectFileLength - 1, '\xC3'));
    const FileHandle file = files.Open(small, OpenMode::ByteAccess).value();
    ASSERT_TRUE(files.WriteRaw(file, std::vector<std::uint8_t>(kMiB, 0x5A)).ok());
    ASSERT_TRUE(files.Close(file).ok());
    EXPECT_TRUE(InCache(small, 8192));
}

TEST(DirectWrites, AFileSystemThatRefusesDirectWritesTakesThemThroughTheCache) {
    TempDir dir;
    // ramfs has no direct I/O: O_DIRECT is refused on every file.
    struct Ramfs {
        std::string folder;
        bool mounted =
            std::filesystem::create_directory(folder) && ::mount("ramfs", folder.c_str(), "ramfs", 0, nullptr) == 0;
        ~Ramfs() {
            if (mounted) ::umount2(folder.c_str(), MNT_DETACH);
        }
    } ramfs{dir.path() + "/ramfs"};
    if (!ramfs.mounted) GTEST_SKIP() << "cannot mount a ramfs (" << std::strerror(errno) << "); needs root";
    PosixFileServices files;
    const std::string path = ramfs.folder + "/large.bin";
    const std::string expected = WriteMix(files, path, false);
    EXPECT_TRUE(ReadBytes(path) == expected);
}

}  // namespace
}  // namespace scorvane::testing
