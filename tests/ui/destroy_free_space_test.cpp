// The destroy-free-space command from the button and the menu, on a 2 MiB tmpfs that each test mounts
// inside its own temporary folder: the refusal of the 35-pass method, the notice, the progress window's
// statistics lines, the main window hidden and shown again, and the shutdown option.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

// A tmpfs of 2 MiB mounted on `dir` for the life of the object; unmounted at the end.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& dir) : dir_(dir) {
        ::mkdir(dir.c_str(), 0700);
        mounted_ = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=2m") == 0;
        if (!mounted_) error_ = std::strerror(errno);
    }
    ~SmallDisk() {
        if (mounted_ && ::umount2(dir_.c_str(), 0) != 0) ::umount2(dir_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& error() const { return error_; }

private:
    std::string dir_;
    bool mounted_ = false;
    std::string error_;
};

const MessageRecord kNotice{"L22\rL23\r\rL24", 0x40, "L25"};
const MessageRecord kDone{"L29 0 L30!", 0x40, "L18"};

void ExpectMessages(const std::vector<MessageRecord>& actual, const std::vector<MessageRecord>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].text, expected[i].text) << i;
        EXPECT_EQ(actual[i].style, expected[i].style) << i;
        EXPECT_EQ(actual[i].title, expected[i].title) << i;
    }
}

class DestroyFreeSpace : public ::testing::Test {
protected:
    DestroyFreeSpace() {
        bed.drives.mounts = {mount};
        program.form1().Combo1.listIndex = 1;
        bed.UseMarkerTexts();
        bed.desktop.events.clear();
    }
    void SetUp() override {
        if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (" << disk.error() << "); these tests run as root";
    }

    TestBed bed;
    Program& program = bed.program();
    std::string mount = bed.Work("disk");
    SmallDisk disk{mount};
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
        ExpectMessages(bed.desktop.messages, {kNotice, kDone});
        EXPECT_TRUE(FolderEntries(mount).empty());
        const std::vector<std::string> events = {"show Dialog", "hide Form1", "show Dialog", "refresh Dialog",
                                                 "unload Dialog", "show Form1", "show Form1"};
        EXPECT_EQ(bed.desktop.events, events);
        EXPECT_FALSE(program.IsDialogLoaded());
        EXPECT_TRUE(form.visible);
        EXPECT_EQ(program.CancelFlag, 0);
    }
}

TEST_F(DestroyFreeSpace, TheThirtyFivePassMethodIsRefused) {
    form.Combo1.listIndex = 8;
    form.ProgressTotal.tenThousandths = 77;
    program.CancelFlag = 1;
    form.Command2.onClick();
    ExpectMessages(bed.desktop.messages, {{"L19\r\rL20", 0x40, "L21"}});
    EXPECT_EQ(form.ProgressTotal.tenThousandths, 77);
    EXPECT_EQ(program.CancelFlag, 1);
    EXPECT_FALSE(program.IsDialogLoaded());
    EXPECT_TRUE(bed.desktop.events.empty());
    EXPECT_TRUE(FolderEntries(mount).empty());
}

TEST_F(DestroyFreeSpace, TheShutdownOptionPowersOffInsteadOfTheEndMessage) {
    form.Check1.value = 1;
    form.Command2.onClick();
    ExpectMessages(bed.desktop.messages, {kNotice});
    EXPECT_EQ(bed.desktop.commandLines, std::vector<std::string>{"systemctl poweroff"});
    EXPECT_TRUE(FolderEntries(mount).empty());
}

TEST_F(DestroyFreeSpace, ADriveThatIsGoneIsRefusedAndTheMainWindowComesBack) {
    const std::string gone = bed.Work("gone");
    form.Drive1.items = {gone};
    form.Command2.onClick();
    ExpectMessages(bed.desktop.messages, {kNotice, {"L31", 0x30, "L14"}});
    EXPECT_EQ(form.ProgressTotal.tenThousandths, 0);
    EXPECT_FALSE(PathExists(gone));
    EXPECT_FALSE(program.IsDialogLoaded());
    EXPECT_TRUE(form.visible);
}

}  // namespace
}  // namespace scorvane::testing
