// The destroy-free-space command from the button and the menu, on a 2 MiB tmpfs that each test mounts
// inside its own temporary folder: the refusal of the 35-pass method, the notice, the progress window's
// statistics lines, the main window hidden and shown again, and the shutdown option.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "support/Messages.h"
#include "support/MountedTmpfs.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

const MessageRecord kNotice{"L22\rL23\r\rL24", 0x40, "L25"};

class DestroyFreeSpace : public ::testing::Test {
protected:
    DestroyFreeSpace() {
        bed.drives.mounts = {mount};
        program.form1().Combo1.listIndex = 1;
        bed.UseMarkerTexts();
        bed.desktop.events.clear();
    }
    void SetUp() override { SKIP_UNLESS_MOUNTED(disk); }

    TestBed bed;
    Program& program = bed.program();
    std::string mount = bed.Work("disk");
    MountedTmpfs disk{mount, "2m"};
    Form1& form = program.form1Unloaded();
};

TEST_F(DestroyFreeSpace, TheButtonAndTheMenuRunAWholeWipeAndShowTheMainWindowAgain) {
    for (const bool fromMenu : {false, true}) {
        SCOPED_TRACE(fromMenu);
        bed.desktop.messages.clear();
        bed.desktop.events.clear();
        bed.desktop.yields = 0;
        form.ProgressTotal.tenThousandths = 1;  // stale: the command reads the drive again
        std::vector<std::string> labels;
        int cancelAfterYield1 = -1;
        // A stop made before the wipe starts is undone; the statistics lines are empty and visible.
        bed.desktop.atYield[1] = [&] {
            Dialog& dialog = program.dialogUnloaded();
            for (Label* label : {&dialog.Label1, &dialog.Label2, &dialog.Label3, &dialog.Label4, &dialog.Label5,
                                 &dialog.Label6, &dialog.Label7, &dialog.Label10}) {
                labels.push_back((label->visible ? "+" : "-") + label->caption);
            }
            dialog.CancelButton.onClick();
            cancelAfterYield1 = program.CancelFlag;
        };
        bool full = false;
        bed.desktop.onEveryYield = [&](int) { full = full || PathExists(mount + "/QV/zzzzzzz.z1"); };
        (fromMenu ? form.mnuDistruggiSpazioLibero.onClick : form.Command2.onClick)();

        EXPECT_EQ(labels, std::vector<std::string>(8, "+"));
        EXPECT_EQ(cancelAfterYield1, 1);
        EXPECT_TRUE(full);
        EXPECT_EQ(form.ProgressTotal.tenThousandths, 2097);
        ExpectMessages(bed.desktop.messages, {kNotice, kFreeSpaceDone});
        EXPECT_TRUE(FolderEntries(mount).empty());
        // The progress window is on screen before the main window goes.
        ASSERT_GE(bed.desktop.events.size(), 2u);
        EXPECT_EQ(bed.desktop.events[0], "show Dialog");
        EXPECT_EQ(bed.desktop.events[1], "hide Form1");
        EXPECT_FALSE(program.IsDialogLoaded());
        EXPECT_TRUE(form.visible);
        EXPECT_EQ(program.CancelFlag, 0);
    }
}

TEST_F(DestroyFreeSpace, TheThirtyFivePassMethodIsRefused) {
    form.Show();
    form.Combo1.listIndex = 8;
    form.ProgressTotal.tenThousandths = 77;
    program.CancelFlag = 1;
    form.Command2.onClick();
    ExpectMessages(bed.desktop.messages, {{"L19\r\rL20", 0x40, "L21"}});
    EXPECT_EQ(form.ProgressTotal.tenThousandths, 77);
    EXPECT_EQ(program.CancelFlag, 1);
    EXPECT_FALSE(program.IsDialogLoaded());
    EXPECT_TRUE(form.visible);
    EXPECT_TRUE(FolderEntries(mount).empty());
}

TEST_F(DestroyFreeSpace, TheShutdownOptionPowersOffInsteadOfTheEndMessage) {
    form.Check1.value = 1;
    form.Command2.onClick();
    ExpectMessages(bed.desktop.messages, {kNotice});
    EXPECT_EQ(bed.desktop.commandLines, std::vector<std::string>{"systemctl poweroff"});
    EXPECT_TRUE(FolderEntries(mount).empty());
}

TEST_F(DestroyFreeSpace, FillFilesThatCannotBeRemovedAreNamedAtTheEnd) {
    program.Remaining.Add("left from an earlier run");
    bed.files.FailOperation("Delete", EIO);
    form.Command2.onClick();
    const std::string left = mount + "/QV/zzzzzzz.z1";
    ExpectMessages(bed.desktop.messages, {kNotice, {"L88 1\r\r" + left, 0x30, "L28"}});
    EXPECT_TRUE(PathExists(left));
    EXPECT_TRUE(form.visible);
}

TEST_F(DestroyFreeSpace, ADriveThatIsGoneIsRefusedAndTheMainWindowComesBack) {
    const std::string gone = bed.Work("gone");
    form.Drive1.items = {gone};
    form.Command2.onClick();
    ExpectMessages(bed.desktop.messages, {kNotice, kDriveRefused});
    EXPECT_EQ(form.ProgressTotal.tenThousandths, 0);
    EXPECT_FALSE(PathExists(gone));
    EXPECT_FALSE(program.IsDialogLoaded());
    EXPECT_TRUE(form.visible);
}

}  // namespace
}  // namespace scorvane::testing
