#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <tuple>

#include "app/Wiring.h"
#include "startup/ApplyLanguage.h"
#include "support/ForwardingFileServices.h"
#include "support/TestBed.h"
#include "ui/DriveList.h"
#include "ui/MainWindow.h"

namespace scorvane::testing {
namespace {

// The real file services, except that each drive has the free space the test gives it.
class FixedFreeSpace final : public ForwardingFileServices {
public:
    std::map<std::string, FreeSpace> space;  // by mount point; any other drive cannot be queried

    Result<FreeSpace> QueryFreeSpace(const std::string& mountPoint) override {
        const auto found = space.find(mountPoint);
        if (found == space.end()) return MakeFailure(FailureNumber::FileNotFound);
        return found->second;
    }
};

// A program whose drives and their free space are made up, run as root or not.
struct DriveBed {
    explicit DriveBed(bool root, std::vector<std::string> mounts) {
        drives.mounts = std::move(mounts);
        ProcessFacts facts;
        facts.programFolder = dir.path();
        facts.runsAsRoot = root;
        program = std::make_unique<Program>(Platform{files, desktop, desktop, drives, facts, nullptr, nullptr});
        WireHandlers(*program);
    }
    TempDir dir;
    FixedFreeSpace files;
    FakeDesktop desktop;
    FakeDrives drives;
    std::unique_ptr<Program> program;
};

TEST(DriveList, FreeSpaceIsTheSpaceTheUserCanFill) {
    for (const bool root : {false, true}) {
        SCOPED_TRACE(root ? "root" : "user");
        DriveBed bed(root, {"/mnt/a", "/mnt/b", "/mnt/c"});
        bed.files.space["/mnt/a"] = FreeSpace{123456789012, 900000000000, 200000000000};
        bed.files.space["/mnt/b"] = FreeSpace{5000, 90000, 15000};
        // ProgressTotal in ten-thousandths for each drive; /mnt/c cannot be queried.
        const std::int64_t expected[] = {root ? 200000000 : 123456789, root ? 15 : 5, 0};
        Form1& form = bed.program->form1();  // the load computes the free space of the selected drive
        EXPECT_EQ(form.Drive1.items, bed.drives.mounts);
        ASSERT_GE(form.Drive1.listIndex, 0);
        EXPECT_EQ(form.ProgressTotal.tenThousandths, expected[form.Drive1.listIndex]);
        for (const int index : {2, 0, 1, 0}) {
            ASSERT_TRUE(form.Drive1.SetListIndex(index).ok());
            EXPECT_EQ(form.ProgressTotal.tenThousandths, expected[index]) << index;
        }
        EXPECT_TRUE(bed.desktop.messages.empty());
    }
}

TEST(DriveList, FreeSpaceTotalRoundsToTenThousandths) {
    const std::uint64_t bytes[] = {
        0, 499, 500, 501, 1000, 1500, 2500, 123456789012, std::numeric_limits<std::uint64_t>::max()};
    const std::int64_t totals[] = {0, 0, 0, 1, 1, 2, 2, 123456789, 18446744073709552};
    for (std::size_t i = 0; i < std::size(bytes); ++i) EXPECT_EQ(FreeSpaceTotal(bytes[i]).tenThousandths, totals[i]);
    EXPECT_DOUBLE_EQ(FreeSpaceTotal(123456789012).ToDouble(), 12345.6789);
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        bed.UseMarkerTexts();
        program.LangFile = "X.lng";
        form.StoredMethodIndex() = "-1";
        ApplyLanguage(program);
    }
    std::string Settings() { return ReadBytes(bed.ProgramFolder() + "/Scorvane.ini"); }
    void ForgetSettings() { std::filesystem::remove(bed.ProgramFolder() + "/Scorvane.ini"); }

    TestBed bed;
    Program& program = bed.program();
    Form1& form = program.form1();
};

TEST_F(MainWindowTest, ChoosingAMethodShowsItsDescriptionWithItsShadowAndSavesIt) {
    for (const int k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 8, 3}) {
        SCOPED_TRACE(k);
        ForgetSettings();
        ASSERT_TRUE(form.Combo1.SetListIndex(k).ok());  // as a click on the entry does
        EXPECT_EQ(form.Label9.font.size, k == 8 ? 10 : 15);
        EXPECT_EQ(form.Label9.caption, "L" + std::to_string(36 + 2 * k));
        EXPECT_EQ(form.Label3.caption, form.Label9.caption);
        EXPECT_EQ(form.Label3.font.size, form.Label9.font.size);
        const Label& shadow = form.Label3;
        EXPECT_EQ(std::tuple(shadow.left, shadow.top, shadow.width, shadow.height), std::tuple(490, 1570, 5475, 2580));
        EXPECT_EQ(std::tuple(form.Label9.left, form.Label9.top), std::tuple(480, 1560));
        EXPECT_EQ(Settings(), std::to_string(k) + "\r\nX.lng\r\n");
    }
    program.LangFile = "Y.lng";
    ASSERT_TRUE(form.Combo1.SetListIndex(3).ok());
    EXPECT_EQ(Settings(), "3\r\nY.lng\r\n");
}

TEST_F(MainWindowTest, NoSelectionChangesNothing) {
    form.Label9.caption = "kept";
    ForgetSettings();
    ASSERT_TRUE(form.Combo1.SetListIndex(-1).ok());
    Combo1_Change(program);
    EXPECT_EQ(form.Label9.caption, "kept");
    EXPECT_EQ(form.Label3.caption, "Label3");
    EXPECT_FALSE(PathExists(bed.ProgramFolder() + "/Scorvane.ini"));
    const auto outside = form.Combo1.SetListIndex(9);
    ASSERT_FALSE(outside.ok());
    EXPECT_EQ(outside.failure().number, 380);
    EXPECT_EQ(form.Combo1.listIndex, -1);
}

TEST_F(MainWindowTest, ASettingsFileThatCannotBeWrittenStillShowsTheMethod) {
    WriteBytes(bed.ProgramFolder() + "/Scorvane.ini", "1\r\nX.lng\r\n");
    // A file with another name is never written over.
    std::filesystem::create_hard_link(bed.ProgramFolder() + "/Scorvane.ini", bed.Root() + "/other name");
    ASSERT_TRUE(form.Combo1.SetListIndex(8).ok());
    EXPECT_EQ(form.Label9.caption, "L52");
    EXPECT_EQ(form.Label3.caption, "L52");
    EXPECT_EQ(Settings(), "1\r\nX.lng\r\n");
    EXPECT_TRUE(bed.desktop.messages.empty());
}

TEST_F(MainWindowTest, Label4TogglesTheShutDownOption) {
    const std::pair<int, int> rows[] = {{0, 1}, {1, 0}, {2, 1}};
    for (const auto& [before, after] : rows) {
        form.Check1.value = before;
        form.Label4.onClick();
        EXPECT_EQ(form.Check1.value, after) << before;
    }
}

TEST_F(MainWindowTest, LabelButtonsMoveOnceWhenHighlighted) {
    using Place = std::tuple<Twips, Twips, std::optional<Color>>;  // left, top, text colour
    const Place grey1{6630, 480, Palette::LightGrey}, white1{6650, 500, Palette::White};
    const Place grey3{6600, 1560, Palette::LightGrey}, white3{6620, 1580, Palette::White};
    const std::map<std::string, std::function<void()>> moves = {
        {"over1", form.Command1.onMouseMove}, {"over3", form.Command3.onMouseMove}, {"form", form.onMouseMove}};
    const std::tuple<std::string, Place, Place> steps[] = {
        {"over1", white1, grey3}, {"over1", white1, grey3}, {"over3", white1, white3}, {"over3", white1, white3},
        {"form", grey1, grey3},   {"form", grey1, grey3},   {"over3", grey1, white3},  {"form", grey1, grey3},
    };
    for (const auto& [move, place1, place3] : steps) {
        moves.at(move)();
        EXPECT_EQ(Place(form.Command1.left, form.Command1.top, form.Command1.foreColor), place1) << move;
        EXPECT_EQ(Place(form.Command3.left, form.Command3.top, form.Command3.foreColor), place3) << move;
    }
}

TEST_F(MainWindowTest, ExitAndClosingEndTheProgramAtOnce) {
    ForgetSettings();
    EXPECT_THROW(form.mnuEsci.onClick(), ProgramEnded);
    EXPECT_EQ(bed.desktop.ends, 1);
    EXPECT_THROW(form.Unload(), ProgramEnded);
    EXPECT_EQ(bed.desktop.ends, 2);
    EXPECT_FALSE(PathExists(bed.ProgramFolder() + "/Scorvane.ini"));  // nothing is saved
}

}  // namespace
}  // namespace scorvane::testing
