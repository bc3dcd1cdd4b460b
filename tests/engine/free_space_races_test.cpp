// The free-space fill against another process that moves names under it, on a 2 MiB tmpfs (the chosen
// drive) and a 1 MiB tmpfs (another drive) that each case mounts in its own temporary folder: the fill
// works through handles of the drive and of its fill folder, so not one byte lands on the other drive
// and every fill file made is removed, whatever the names become.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "engine/FreeSpaceWipe.h"
#include "support/Messages.h"
#include "support/MountedTmpfs.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

constexpr uid_t kNobody = 65534;
const MessageRecord kDeviceError{"Device I/O error (57)", 0x30, "L28"};

std::uint64_t FreeBytes(const std::string& dir) {
    struct statvfs info {};
    ::statvfs(dir.c_str(), &info);
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

// Every fill file on the drive, under its number or its 'Z' name, found without following a link.
std::vector<std::string> FillFilesOn(const std::string& drive) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(drive)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && (name.starts_with("zzzzzzz.z") || name == std::string(24, 'Z'))) {
            found.push_back(entry.path().string());
        }
    }
    return found;
}

// True once the name is seen as a link, within a few seconds at most.
bool SeenAsALink(const std::string& path) {
    for (int look = 0; look < 1'000'000; ++look) {
        if (std::filesystem::is_symlink(path)) return true;
        ::sched_yield();
    }
    return false;
}

// A process of an ordinary user that exchanges two names of a folder with renameat2(RENAME_EXCHANGE) again
// and again, as fast as it can, until it is ended. The folder is opened before the user changes, since
// the temporary folders above it are root's own.
class Racer {
public:
    Racer(const std::string& folder, const char* one, const char* other) {
        const int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        pid_ = ::fork();
        if (pid_ != 0) {
            if (fd >= 0) ::close(fd);
            return;
        }
        if (fd < 0 ||
            (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
                                  ::setresuid(kNobody, kNobody, kNobody) != 0))) {
            ::_exit(2);
        }
        for (;;) (void)::renameat2(fd, one, fd, other, RENAME_EXCHANGE);
    }
    ~Racer() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    Racer(const Racer&) = delete;
    Racer& operator=(const Racer&) = delete;

private:
    pid_t pid_ = -1;
};

// A program whose only drive is a fresh 2 MiB tmpfs, writable by everyone as a shared drive may be, beside
// a 1 MiB tmpfs holding the folder "target" that the other user's link leads to.
struct RaceBed {
    RaceBed() {
        bed.UseMarkerTexts();
        ::chmod(drive.c_str(), 0777);
        ::mkdir(target.c_str(), 0777);
        EXPECT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
        bed.drives.mounts = {drive};
        program.form1().Combo1.listIndex = 1;  // loading it reads the drive's free space
    }
    bool mounted() const { return disk.mounted() && other.mounted(); }
    // Keeps the most the other drive ever held, looked at every yield, and whether the fill folder's name
    // was ever seen as a link meanwhile.
    void WatchElsewhere() {
        freeElsewhere = FreeBytes(elsewhere);
        bed.desktop.onEveryYield = [this](int) {
            Look();
            swappedMidFill = swappedMidFill || std::filesystem::is_symlink(drive + "/QV");
            ::usleep(200);  // the other user's process gets the processor between blocks, even on a busy machine
        };
    }
    void Look() { mostTakenElsewhere = std::max(mostTakenElsewhere, freeElsewhere - FreeBytes(elsewhere)); }

    TestBed bed;
    Program& program = bed.program();
    std::string drive = bed.Work("drive"), elsewhere = bed.Work("elsewhere");
    std::string target = elsewhere + "/target";
    MountedTmpfs disk{drive, "2m"};
    MountedTmpfs other{elsewhere, "1m"};
    std::uint64_t freeElsewhere = 0, mostTakenElsewhere = 0;
    bool swappedMidFill = false;
};

TEST(FreeSpaceRaces, AFillFolderExchangedWithALinkToAnotherDriveNeverLeadsTheFillThere) {
    constexpr int kRounds = 24;
    int filled = 0, refused = 0, swappedMidFill = 0;
    std::uint64_t outside = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        RaceBed r;
        if (!r.mounted()) GTEST_SKIP() << "cannot mount a tmpfs (" << r.disk.error() << "); needs root";
        // Half the rounds the other user's own "QV" is there; half the rounds the fill makes its own.
        const std::string qv = r.drive + "/QV", link = r.drive + "/QVlink";
        if (round % 2 == 0) {
            ::mkdir(qv.c_str(), 0777);
            ASSERT_EQ(::chown(qv.c_str(), kNobody, kNobody), 0);
        }
        ASSERT_EQ(::symlink(r.target.c_str(), link.c_str()), 0);
        ASSERT_EQ(::lchown(link.c_str(), kNobody, kNobody), 0);
        const std::uint64_t freeBefore = FreeBytes(r.drive);
        r.WatchElsewhere();
        {
            Racer racer(r.drive, "QV", "QVlink");
            // The other user's folder is seen swapped before the run starts.
            if (round % 2 == 0) {
                ASSERT_TRUE(SeenAsALink(qv)) << "the racer never got to swap";
            }
            WipeSpace(r.program, r.drive);
        }
        r.Look();

        outside += r.mostTakenElsewhere;
        EXPECT_EQ(r.mostTakenElsewhere, 0u);
        EXPECT_TRUE(FolderEntries(r.target).empty());
        EXPECT_TRUE(FillFilesOn(r.drive).empty());
        EXPECT_EQ(FreeBytes(r.drive), freeBefore);
        EXPECT_TRUE(r.program.Remaining.empty());
        // Either the link was seen where the folder was looked for, or the fill went on through the folder.
        const auto& shown = r.bed.desktop.messages;
        if (shown.size() == 1 && shown[0].title == "L18") {
            ++filled;
            swappedMidFill += r.swappedMidFill ? 1 : 0;
        } else if (shown.size() == 1 && shown[0].text == "L31\r" + qv) {
            ++refused;
        } else {
            ADD_FAILURE() << shown.size() << " boxes, the first: " << (shown.empty() ? "" : shown[0].text);
        }
    }
    std::cout << "exchange race: " << kRounds << " rounds, " << filled << " filled (" << swappedMidFill
              << " of them swapped mid-fill), " << refused << " refused, " << outside << " bytes outside the drive\n";
}

TEST(FreeSpaceRaces, ALinkPutInTheFillFolderPlaceIsNeverFollowed) {
    enum class When { BeforeTheRun, MidFillThenNextFile, MidFillThenFailure };
    struct Row {
        When when;
        const char* operation;
        int error, skip, times;
        std::vector<MessageRecord> messages;  // the refusal before the run is added below
    };
    const Row rows[] = {
        {When::BeforeTheRun, "", 0, 0, 0, {}},
        // A second fill file made after the swap (the first one took no more), or a failure that ends the run.
        {When::MidFillThenNextFile, "WriteTaggedFill", EFBIG, 1, 1, {kFreeSpaceDone}},
        {When::MidFillThenFailure,
         "WriteTaggedFill",
         EIO,
         1,
         1 << 30,
         {kDeviceError, kDeviceError, kDeviceError, kDriveRefused}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.when));
        RaceBed r;
        if (!r.mounted()) GTEST_SKIP() << "cannot mount a tmpfs (" << r.disk.error() << "); needs root";
        const std::string qv = r.drive + "/QV", moved = r.drive + "/QV.old";
        const auto plant = [&] { ASSERT_EQ(::symlink(r.target.c_str(), qv.c_str()), 0); };
        r.WatchElsewhere();
        if (row.when == When::BeforeTheRun) {
            plant();
        } else {
            r.bed.desktop.atYield[1] = [&] {
                ASSERT_EQ(::rename(qv.c_str(), moved.c_str()), 0);
                plant();
            };
            r.bed.files.FailOperation(row.operation, row.error, row.skip, row.times);
        }
        WipeSpace(r.program, r.drive);
        r.Look();

        std::vector<MessageRecord> messages = row.messages;
        for (MessageRecord& message : messages) {
            if (message.text == kDeviceError.text) message.text += "\r" + qv + "/zzzzzzz.z1";  // its fill file
        }
        if (row.when == When::BeforeTheRun) messages = {{"L31\r" + qv, 0x30, "L14"}};
        ExpectMessages(r.bed.desktop.messages, messages);
        EXPECT_EQ(r.mostTakenElsewhere, 0u);
        EXPECT_TRUE(FolderEntries(r.target).empty());
        EXPECT_TRUE(FillFilesOn(r.drive).empty());
        EXPECT_TRUE(r.program.Remaining.empty());
        EXPECT_TRUE(std::filesystem::is_symlink(qv));  // the other user's link stays as it was
    }
}

TEST(FreeSpaceRaces, ADriveUnmountedMidFillIsStillTheOneFilledNeverTheFolderUnderIt) {
    // The chosen drive is mounted inside another small tmpfs, so that what lies under it is a drive of the
    // test's own too.
    TestBed bed;
    bed.UseMarkerTexts();
    const std::string under = bed.Work("under"), drive = under + "/disk";
    MountedTmpfs below(under, "1m");
    SKIP_UNLESS_MOUNTED(below);
    ::mkdir(drive.c_str(), 0755);
    MountedTmpfs disk(drive, "2m");
    SKIP_UNLESS_MOUNTED(disk);
    bed.drives.mounts = {drive};
    Program& program = bed.program();
    program.form1().Combo1.listIndex = 1;
    const std::uint64_t freeUnder = FreeBytes(under);
    std::uint64_t mostTakenUnder = 0;
    bed.desktop.atYield[1] = [&] { ASSERT_EQ(::umount2(drive.c_str(), MNT_DETACH), 0); };
    bed.desktop.onEveryYield = [&](int) { mostTakenUnder = std::max(mostTakenUnder, freeUnder - FreeBytes(under)); };
    // The first fill file takes no more after the unmount: the next one is made.
    bed.files.FailOperation("WriteTaggedFill", EFBIG, 1, 1);
    WipeSpace(program, drive);

    EXPECT_EQ(mostTakenUnder, 0u);
    EXPECT_EQ(FreeBytes(under), freeUnder);
    EXPECT_TRUE(FolderEntries(drive).empty());
    ExpectMessages(bed.desktop.messages, {kFreeSpaceDone});
}

}  // namespace
}  // namespace scorvane::testing
