// The free-space wipe on a 2 MiB tmpfs that each test mounts inside its own temporary folder: the fill
// reaches a full disk and everything it made is removed, whatever the ending; the user's names are
// never touched; and the statistics lines tick by a fake monotonic clock.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "engine/FreeSpaceStatistics.h"
#include "engine/FreeSpaceWipe.h"
#include "support/Messages.h"
#include "support/MountedTmpfs.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

constexpr std::size_t kBlock = 1'024'000;
const std::string kHeader("\x08\x00\xFF\xFF", 4);  // a text block's tag and its capped length field
const std::string kZ(24, 'Z');

std::uint64_t FreeBytes(const std::string& dir) {
    struct statvfs info {};
    ::statvfs(dir.c_str(), &info);
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

// The main window loaded with the drive list holding `mount` alone.
Form1& LoadWithDrive(TestBed& bed, const std::string& mount) {
    bed.drives.mounts = {mount};
    return bed.program().form1();
}

// A program whose only drive is a fresh 2 MiB tmpfs, marker texts, the main window loaded.
struct SpaceBed {
    explicit SpaceBed(int method = 1) {
        form.Combo1.listIndex = method;
        bed.UseMarkerTexts();
        freeBefore = FreeBytes(mount);
    }
    void Run(const std::string& drive) { WipeSpace(program, drive); }
    void Run() { Run(mount); }
    std::string Fill(int n) const { return mount + "/QV/zzzzzzz.z" + std::to_string(n); }

    TestBed bed;
    Program& program = bed.program();
    std::string mount = bed.Work("disk");
    MountedTmpfs disk{mount, "2m"};
    Form1& form = LoadWithDrive(bed, mount);  // loading it reads the drive's free space
    std::uint64_t freeBefore = 0;
};

// What the disk and the progress window show at one yield.
struct Sight {
    std::uint64_t freeBytes;
    std::vector<std::string> fillFolder;
    std::string label8, label2;
    int bar;
};

void Watch(SpaceBed& s, std::vector<Sight>& sights) {
    s.bed.desktop.onEveryYield = [&s, &sights](int) {
        Dialog& dialog = s.program.dialogUnloaded();
        sights.push_back({FreeBytes(s.mount), FolderEntries(s.mount + "/QV"), dialog.Label8.caption,
                          dialog.Label2.caption, dialog.ImgBar.width});
    };
}

TEST(FreeSpaceWipe, FillsTheDiskByTheMethodThenRemovesEverythingItMade) {
    struct Row {
        int method;         // as selected in Combo1
        std::string first;  // the first fill file at the first yield ('#' any byte, '9' any digit, 'c' one code 1-255)
    };
    const Row rows[] = {
        {1, kHeader + std::string(kBlock, '0')},
        {7, kHeader + std::string(kBlock, ' ')},
        {2, std::string(kBlock + 1, '#')},
        {0, kHeader + std::string(kBlock, 'c')},
        {-1, kHeader + std::string(kBlock, 'c')},  // nothing selected: method 0
        {8, kHeader + std::string(kBlock, 'c')},   // not a fill method: method 0
        // No yield before the disk is full: two blocks, then as much of the third as fits.
        {5, kHeader + std::string(kBlock, '0') + kHeader + std::string(kBlock, '0') + kHeader +
                std::string(2097152 - 2 * (kBlock + 4) - 4, '0')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.method);
        SpaceBed s(row.method);
        SKIP_UNLESS_MOUNTED(s.disk);
        ASSERT_EQ(s.form.ProgressTotal.tenThousandths, 2097);  // 2,097,152 bytes free
        std::vector<Sight> sights;
        std::string first;
        s.bed.desktop.atYield[1] = [&] { first = ReadBytes(s.Fill(1)); };
        Watch(s, sights);
        s.bed.desktop.atYield[2] = [&] { s.bed.desktop.monotonic = 3723.5; };  // 1 h 2 min 3 s later
        s.Run();

        ASSERT_EQ(first.size(), row.first.size());
        for (std::size_t k = 0; k < first.size(); ++k) {
            const char want = row.first[k];
            const bool fits = want == '#' || (want == '9' && first[k] >= '0' && first[k] <= '9') ||
                              (want == 'c' && first[k] == first[kHeader.size()] && first[k] != '\0') ||
                              want == first[k];
            ASSERT_TRUE(fits) << "byte " << k;
        }
        // The disk was full at a yield with the fill files in place, and 100 % was shown.
        const auto full = std::find_if(sights.begin(), sights.end(), [](const Sight& v) { return v.freeBytes == 0; });
        ASSERT_NE(full, sights.end());
        EXPECT_FALSE(full->fillFolder.empty());
        EXPECT_TRUE(std::any_of(sights.begin(), sights.end(), [](const Sight& v) {
            return v.label8 == "L74\r100%" && v.label2 == "L73 2,097 / 2,097 Kb" && v.bar == kBarFullWidth &&
                   v.freeBytes == 0;
        }));
        // Then everything is gone and the space is back.
        EXPECT_TRUE(FolderEntries(s.mount).empty());
        EXPECT_EQ(FreeBytes(s.mount), s.freeBefore);
        ExpectMessages(s.bed.desktop.messages, {{"L29 1 L57, 2 L58 L78 3 L30!", 0x40, "L18"}});
        EXPECT_FALSE(s.program.IsDialogLoaded());
        EXPECT_TRUE(s.form.visible);
        EXPECT_EQ(s.form.Timer1.interval, 0);
        EXPECT_TRUE(s.bed.desktop.commandLines.empty());
    }
}

TEST(FreeSpaceWipe, ProgressOfMethod1CountsEveryBlock) {
    SpaceBed s(1);
    SKIP_UNLESS_MOUNTED(s.disk);
    std::vector<Sight> sights;
    Watch(s, sights);
    int interval = 0;
    s.bed.desktop.atYield[1] = [&] { interval = s.form.Timer1.interval; };
    s.Run();
    EXPECT_EQ(interval, 600);
    // Two cycles of 1,024,004 bytes, each seen at two yields (the written line follows the second), a third
    // that the disk-full ladder ends, then the end of the fill and the clean-up.
    const Sight expected[] = {
        {0, {}, "L74\r48.8%", "", 3120},
        {0, {}, "L74\r48.8%", "", 3120},
        {0, {}, "L74\r97.7%", "L73 1,024 / 2,097 Kb", 6240},
        {0, {}, "L74\r97.7%", "L73 1,024 / 2,097 Kb", 6240},
        {0, {}, "L74\r100%", "L73 2,097 / 2,097 Kb", kBarFullWidth},
        {0, {}, "L74\r100%", "L73 2,097 / 2,097 Kb", kBarFullWidth},
    };
    ASSERT_EQ(sights.size(), std::size(expected));
    for (std::size_t i = 0; i < sights.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sights[i].label8, expected[i].label8);
        EXPECT_EQ(sights[i].label2, expected[i].label2);
        EXPECT_EQ(sights[i].bar, expected[i].bar);
    }
    EXPECT_EQ(sights[4].freeBytes, 0u);
    EXPECT_EQ(sights[4].fillFolder, std::vector<std::string>{"zzzzzzz.z1"});
    EXPECT_TRUE(sights[5].fillFolder.empty());
    EXPECT_EQ(s.form.WrittenKb, 2048);
}

TEST(FreeSpaceWipe, AStopRemovesEverythingAndShowsTheCancelledBoxWithoutShutdown) {
    for (const bool duringCleanUp : {false, true}) {
        SCOPED_TRACE(duringCleanUp);
        SpaceBed s(3);
        SKIP_UNLESS_MOUNTED(s.disk);
        s.form.Check1.value = 1;
        bool stopped = false;
        bool fullBarWhenStopped = false;
        s.bed.desktop.onEveryYield = [&](int number) {
            const bool cleaned = !PathExists(s.mount + "/QV");
            if (stopped || (duringCleanUp ? !cleaned : number != 1)) return;
            fullBarWhenStopped = s.program.dialogUnloaded().Label8.caption == "L74\r100%";
            s.program.dialogUnloaded().CancelButton.onClick();
            stopped = true;
        };
        s.Run();
        EXPECT_TRUE(stopped);
        EXPECT_EQ(fullBarWhenStopped, duringCleanUp);
        EXPECT_TRUE(FolderEntries(s.mount).empty());
        EXPECT_EQ(FreeBytes(s.mount), s.freeBefore);
        ExpectMessages(s.bed.desktop.messages, {kCancelled});
        EXPECT_TRUE(s.bed.desktop.commandLines.empty());
        EXPECT_FALSE(s.program.IsDialogLoaded());
    }
}

TEST(FreeSpaceWipe, TheUsersNamesAreNeverTouched) {
    for (const bool userFolder : {true, false}) {
        SCOPED_TRACE(userFolder);
        SpaceBed s(1);
        SKIP_UNLESS_MOUNTED(s.disk);
        // A QV folder of the user's, holding a file under the first fill name and one under the 'Z' name;
        // or, without it, a folder of the user's under the name the fill folder takes before removal.
        const std::string folder = s.mount + (userFolder ? "/QV" : "/" + kZ);
        ::mkdir(folder.c_str(), 0700);
        const std::vector<std::string> names = {"notes.txt", kZ, "zzzzzzz.z1"};
        for (const auto& name : names) WriteBytes(folder + "/" + name, "mine: " + name);
        std::vector<std::string> atFull;
        s.bed.desktop.onEveryYield = [&](int) {
            if (FreeBytes(s.mount) == 0 && atFull.empty()) atFull = FolderEntries(s.mount + "/QV");
        };
        s.Run();

        // The fill file sits beside the user's, under the first number that is free.
        EXPECT_EQ(atFull.size(), userFolder ? 4u : 1u);
        EXPECT_NE(std::find(atFull.begin(), atFull.end(), userFolder ? "zzzzzzz.z2" : "zzzzzzz.z1"), atFull.end());
        EXPECT_EQ(FolderEntries(s.mount), std::vector<std::string>{userFolder ? "QV" : kZ});
        std::vector<std::string> sorted = names;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(FolderEntries(folder), sorted);
        for (const auto& name : names) EXPECT_EQ(ReadBytes(folder + "/" + name), "mine: " + name);
        ASSERT_EQ(s.bed.desktop.messages.size(), 1u);
        EXPECT_EQ(s.bed.desktop.messages[0].title, "L18");
    }
}

TEST(FreeSpaceWipe, ADriveThatCannotBeWrittenShowsTheRefusal) {
    enum class Drive { Missing, AFile, NoSelection, ReadOnly, ReadOnlyWithQV, QVIsAFile };
    for (const Drive drive :
         {Drive::Missing, Drive::AFile, Drive::NoSelection, Drive::ReadOnly, Drive::ReadOnlyWithQV, Drive::QVIsAFile}) {
        SCOPED_TRACE(static_cast<int>(drive));
        const bool readOnly = drive == Drive::ReadOnly || drive == Drive::ReadOnlyWithQV;
        SpaceBed s(1);
        SKIP_UNLESS_MOUNTED(s.disk);
        std::string path = s.mount;
        if (drive == Drive::Missing) path = s.bed.Work("nothing");
        if (drive == Drive::AFile) WriteBytes(path = s.bed.Work("file"), "x");
        if (drive == Drive::NoSelection) path = "";
        if (drive == Drive::ReadOnlyWithQV) ::mkdir((s.mount + "/QV").c_str(), 0700);
        if (drive == Drive::QVIsAFile) WriteBytes(s.mount + "/QV", "mine");
        if (readOnly) {
            ASSERT_TRUE(s.disk.RemountReadOnly());
        }
        const auto before = FolderEntries(s.mount);
        s.Run(path);

        const MessageRecord refusal =
            drive == Drive::QVIsAFile ? MessageRecord{"L31\r" + s.mount + "/QV", 0x30, "L14"} : kDriveRefused;
        ExpectMessages(s.bed.desktop.messages, {refusal});
        EXPECT_EQ(FolderEntries(s.mount), before);
        if (drive == Drive::QVIsAFile) {
            EXPECT_EQ(ReadBytes(s.mount + "/QV"), "mine");
        }
        EXPECT_FALSE(s.program.IsDialogLoaded());
        EXPECT_EQ(s.form.Timer1.interval, 0);
    }
}

TEST(FreeSpaceWipe, FailuresOfTheFillStillLeaveTheDiskAsItWas) {
    struct Row {
        const char* operation;
        int error, skip, times;
        std::vector<MessageRecord> messages;
        std::size_t mostFillFiles;
    };
    const MessageRecord kDeviceError{"Device I/O error (57)", 0x30, "L28"};
    const Row rows[] = {
        {"WriteTaggedFill", EACCES, 1, 1, {kDriveRefused}, 1},  // refused mid-run
        {"Open", EACCES, 0, 1, {kDriveRefused}, 0},             // no fill file at all
        {"WriteTaggedFill", EIO, 0, 1, {kDeviceError, kFreeSpaceDone}, 1},
        {"WriteTaggedFill", EFBIG, 1, 1, {kFreeSpaceDone}, 2},  // too large: the next file
        // A failure that comes back at every block ends the run after three boxes instead of asking forever.
        {"WriteTaggedFill", EIO, 0, 1 << 30, {kDeviceError, kDeviceError, kDeviceError, kDriveRefused}, 1},
        // A disk already full for the user: the fill finds no room and ends as usual.
        {"MakeFolder", ENOSPC, 0, 1 << 30, {kFreeSpaceDone}, 0},
        // The last fill file's data could not be made to reach the disk: no completion.
        {"Flush", EIO, 0, 1, {kDeviceError, kDriveRefused}, 1},
        // The fill folder could not be made: the engine's own box, and nothing written.
        {"MakeFolder", EEXIST, 0, 1, {{"File already exists (58)", 0x30, "L28"}}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.operation) + " " + std::to_string(row.error));
        SpaceBed s(1);
        SKIP_UNLESS_MOUNTED(s.disk);
        std::size_t most = 0;
        s.bed.desktop.onEveryYield = [&](int) { most = std::max(most, FolderEntries(s.mount + "/QV").size()); };
        s.bed.files.FailOperation(row.operation, row.error, row.skip, row.times);
        s.Run();

        // Each failure box names what it concerns: the fill file, or the fill folder.
        std::vector<MessageRecord> messages = row.messages;
        for (MessageRecord& message : messages) {
            if (message.text == kDeviceError.text) message.text += "\r" + s.Fill(1);
            if (message.text == "File already exists (58)") message.text += "\r" + s.mount + "/QV";
        }
        ExpectMessages(s.bed.desktop.messages, messages);
        EXPECT_EQ(most, row.mostFillFiles);
        EXPECT_TRUE(FolderEntries(s.mount).empty());
        EXPECT_EQ(FreeBytes(s.mount), s.freeBefore);
        EXPECT_FALSE(s.program.IsDialogLoaded());
    }
}

TEST(FreeSpaceWipe, FillFilesThatCannotBeRemovedAreNotedAndTheRunIsNotCompleted) {
    for (const bool cancelled : {false, true}) {
        SCOPED_TRACE(cancelled);
        SpaceBed s(1);
        SKIP_UNLESS_MOUNTED(s.disk);
        s.form.Check1.value = 1;
        if (cancelled) s.bed.desktop.atYield[1] = [&] { s.program.dialogUnloaded().CancelButton.onClick(); };
        s.bed.files.FailOperation("Delete", EIO);
        s.Run();

        // The file keeps its own name, where the closing list says it is; no completion, no shutdown.
        EXPECT_EQ(s.program.Remaining.items(), std::vector<std::string>{s.Fill(1)});
        EXPECT_TRUE(PathExists(s.Fill(1)));
        EXPECT_EQ(FolderEntries(s.mount + "/QV"), std::vector<std::string>{"zzzzzzz.z1"});
        ExpectMessages(s.bed.desktop.messages,
                       cancelled ? std::vector<MessageRecord>{kCancelled} : std::vector<MessageRecord>{});
        EXPECT_TRUE(s.bed.desktop.commandLines.empty());
        EXPECT_FALSE(s.program.IsDialogLoaded());
    }
}

TEST(FreeSpaceStatistics, TheLinesTellTheTimeOfTheMonotonicClock) {
    TestBed bed;
    bed.UseMarkerTexts();
    Program& program = bed.program();
    Form1& form = program.form1();
    Dialog& dialog = program.dialog();
    bed.desktop.monotonic = 1000;
    StartStatistics(program);
    dialog.Label3.caption = "speed before";
    dialog.Label4.caption = "left before";

    struct Row {
        double at;                   // seconds since the start
        std::int64_t written, free;  // Kb
        std::string elapsed, speed, left;
    };
    const Row rows[] = {
        // No time yet, nothing written: neither speed nor estimate can be formed.
        {0, 0, 5000, "L70 0, L58 0, L30 0", "speed before", "left before"},
        {0.6, 0, 5000, "L70 0, L58 0, L30 0", "L71:  Kb/sec", "left before"},
        {5, 5120, 10240, "L70 0, L58 0, L30 5", "L71: 1,024 Kb/sec", "L72: L58 0, L30 5 "},
        {59.999, 5120, 0, "L70 0, L58 0, L30 59", "L71: 85 Kb/sec", "L72: L58 0, L30 5 "},  // free space unknown
        {60, 60000, 60000, "L70 0, L58 1, L30 0", "L71: 1,000 Kb/sec", "L72: L58 0, L30 0 "},
        {60, 1000, 700, "L70 0, L58 1, L30 0", "L71: 16 Kb/sec", "L72: L58-1, L30 42 "},  // -0.3 minutes
        {3600, 1234567890, 2469135780, "L70 1, L58 0, L30 0", "L71: 342,935 Kb/sec", "L72: L58 60, L30 0 "},
        {3600 * 25 + 62.4, 1, 2, "L70 25, L58 1, L30 2", "L71:  Kb/sec", "L72: L58 1501, L30 2 "},
        // Impossible figures keep the estimate at its largest instead of wrapping around to negative.
        {3600 * 25 + 62.4, 1, 9'000'000'000'000'000'000, "L70 25, L58 1, L30 2", "L71:  Kb/sec",
         "L72: L58 922337203685477, L30 0 "},
    };
    int ticks = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.at);
        bed.desktop.monotonic = 1000 + row.at;
        form.WrittenKb = row.written;
        form.ProgressTotal.tenThousandths = row.free;
        const int yields = bed.desktop.yields;
        form.Timer1.onTimer();
        EXPECT_EQ(form.ElapsedTicks, ++ticks);
        EXPECT_EQ(bed.desktop.yields, yields + 1);
        EXPECT_EQ(dialog.Label1.caption, row.elapsed);
        EXPECT_EQ(dialog.Label3.caption, row.speed);
        EXPECT_EQ(dialog.Label4.caption, row.left);
        EXPECT_EQ(dialog.Label6.caption, dialog.Label1.caption);
        EXPECT_EQ(dialog.Label7.caption, dialog.Label3.caption);
        EXPECT_EQ(dialog.Label10.caption, dialog.Label4.caption);
    }
    // A tick after the run never loads the progress window again (its load would clear a stop).
    dialog.Unload();
    program.CancelFlag = 1;
    form.Timer1.onTimer();
    EXPECT_FALSE(program.IsDialogLoaded());
    EXPECT_EQ(program.CancelFlag, 1);
}

}  // namespace
}  // namespace scorvane::testing
