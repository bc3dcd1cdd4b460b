// What a wipe must never reach: the content of files nobody chose, the folders of another mount, a drive
// that is no longer there.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>

#include "engine/FreeSpaceWipe.h"
#include "engine/OneFileWipe.h"
#include "support/Messages.h"
#include "support/MountedTmpfs.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

TEST(WipeSafety, AFileWithOtherNamesIsLeftAsItIsAndSaysWhy) {
    TestBed bed;
    bed.UseMarkerTexts();
    std::filesystem::create_directories(bed.Root() + "/elsewhere");
    const std::string other = bed.Root() + "/elsewhere/backup.bin";
    WriteBytes(bed.Work("f.bin"), std::string(5000, 'k'));
    std::filesystem::create_hard_link(bed.Work("f.bin"), other);

    WipeFile(bed.program(), bed.Work("f.bin"), 2);
    ExpectMessages(bed.desktop.messages, {{"L87\r" + bed.Work("f.bin"), 0x30, "L28"}});
    EXPECT_EQ(ReadBytes(other), std::string(5000, 'k'));
    EXPECT_EQ(ReadBytes(bed.Work("f.bin")), std::string(5000, 'k'));

    std::filesystem::remove(other);  // its only name now: wiped as usual
    WipeFile(bed.program(), bed.Work("f.bin"), 2);
    EXPECT_TRUE(FolderEntries(bed.Work("")).empty());
}

// A folder bound onto another place of the same file system is another mount all the same.
TEST(WipeSafety, ABindMountInATreeIsListedAsAMountPoint) {
    TestBed bed;
    std::filesystem::create_directories(bed.Root() + "/outside");
    std::filesystem::create_directories(bed.Work("tree/bound"));
    std::filesystem::create_directories(bed.Work("tree/plain"));
    if (::mount((bed.Root() + "/outside").c_str(), bed.Work("tree/bound").c_str(), nullptr, MS_BIND, nullptr) != 0) {
        GTEST_SKIP() << "cannot bind-mount here; needs root";
    }
    const auto listing = bed.program().files().ListFolder(bed.Work("tree"));
    ::umount2(bed.Work("tree/bound").c_str(), MNT_DETACH);
    ASSERT_TRUE(listing.ok());
    EXPECT_EQ(listing.value().subFolders, std::vector<std::string>{bed.Work("tree/plain")});
    EXPECT_EQ(listing.value().mountPoints, std::vector<std::string>{bed.Work("tree/bound")});
}

// A drive taken away since the list was made leaves a plain folder of the file system beneath: that one is
// never filled. Nor is a file system mounted on the fill folder "QV".
TEST(WipeSafety, TheFreeSpaceFillGoesOnlyToAMountedDriveItself) {
    TestBed bed;
    bed.UseMarkerTexts();
    const std::string gone = bed.Work("gone");
    std::filesystem::create_directories(gone);
    bed.drives.mounts = {bed.Work("other")};
    bed.program().form1();
    WipeSpace(bed.program(), gone);
    ExpectMessages(bed.desktop.messages, {kDriveRefused});
    EXPECT_TRUE(FolderEntries(gone).empty());

    const std::string drive = bed.Work("drive");
    MountedTmpfs disk(drive, "1m");
    SKIP_UNLESS_MOUNTED(disk);
    MountedTmpfs inner(drive + "/QV", "64k");
    SKIP_UNLESS_MOUNTED(inner);
    bed.drives.mounts = {drive};
    bed.desktop.messages.clear();
    WipeSpace(bed.program(), drive);
    ExpectMessages(bed.desktop.messages, {{"L31\r" + drive + "/QV", 0x30, "L14"}});
    EXPECT_TRUE(FolderEntries(drive + "/QV").empty());
}

}  // namespace
}  // namespace scorvane::testing
