#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/TestBed.h"
#include "ui/AboutBox.h"

namespace scorvane::testing {
namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    AboutBoxTest() {
        bed.UseMarkerTexts();
        form.Show();
    }
    FrmAbout& Open() {
        form.mnuInfo.onClick();
        return program.frmAboutUnloaded();
    }
    // Runs `count` ticks of the scroll timer and gives the panel's top after them.
    Twips Tick(int count) {
        FrmAbout& about = program.frmAboutUnloaded();
        for (int i = 0; i < count; ++i) about.Timer1.onTimer();
        return about.Picture2.top;
    }

    TestBed bed;
    Program& program = bed.program();
    Form1& form = program.form1();
};

TEST_F(AboutBoxTest, OpeningHidesTheMainWindowAndShowsTitleVersionAndCreditsOnce) {
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        FrmAbout& about = Open();
        EXPECT_TRUE(about.visible);
        EXPECT_FALSE(form.visible);
        EXPECT_EQ(about.caption, "L9");
        EXPECT_EQ(about.lblTitle.caption, "Scorvane Free");
        EXPECT_EQ(about.lblVersion.caption, "Rel. 2.5.0.15");
        EXPECT_EQ(about.lblDescription.caption, "L60");
        EXPECT_EQ(about.lblCopyright.caption, "Scorvane, the file shredder - L11");
        EXPECT_EQ(about.lblHomePage.caption, "https://scorvane.example.org");
        EXPECT_EQ(about.lblHomePageCap.caption, "Home Page:");
        EXPECT_EQ(about.Timer1.interval, 10);
        EXPECT_EQ(about.Picture2.top, 2200);
        about.lblVersion.onClick();
    }
}

TEST_F(AboutBoxTest, ClicksAndEscCloseItWhereTheyShouldAndTheMainWindowReturns) {
    struct Row {
        const char* what;
        std::function<void(FrmAbout&)> act;
        bool closes;
    };
    const auto click = [](auto FrmAbout::*control) {
        return [control](FrmAbout& about) {
            if ((about.*control).onClick) (about.*control).onClick();
        };
    };
    const auto key = [](int code) {
        return [code](FrmAbout& about) {
            int pressed = code;
            about.Picture1.onKeyPress(pressed);
        };
    };
    const Row rows[] = {
        {"window surface", [this](FrmAbout&) { frmAbout_Form_Click(program); }, true},
        {"imgTitle", click(&FrmAbout::imgTitle), true},
        {"lblTitle", click(&FrmAbout::lblTitle), true},
        {"lblVersion", click(&FrmAbout::lblVersion), true},
        {"lblDescription", click(&FrmAbout::lblDescription), true},
        {"lblCopyright", click(&FrmAbout::lblCopyright), true},
        {"Esc in Picture1", key(27), true},
        {"close button", [](FrmAbout& about) { about.Unload(); }, true},
        {"Picture1", click(&FrmAbout::Picture1), false},
        {"Picture2", click(&FrmAbout::Picture2), false},
        {"Image1", click(&FrmAbout::Image1), false},
        {"lblHomePageCap", click(&FrmAbout::lblHomePageCap), false},
        {"Frame1", click(&FrmAbout::Frame1), false},
        {"Enter in Picture1", key(13), false},
        {"a letter in Picture1", key('q'), false},
        {"home page", click(&FrmAbout::lblHomePage), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FrmAbout& about = Open();
        row.act(about);
        EXPECT_EQ(about.IsLoaded(), !row.closes);
        EXPECT_EQ(form.visible, row.closes);
        if (row.closes) {
            EXPECT_EQ(about.Timer1.interval, 0);
        } else {
            EXPECT_TRUE(about.visible);
            about.Unload();
        }
    }
    // Only the link opens anything: the maker's home page, the address the box shows.
    EXPECT_EQ(bed.desktop.shellOpens, std::vector<std::string>{"https://scorvane.example.org"});
    EXPECT_TRUE(bed.desktop.messages.empty());
}

TEST_F(AboutBoxTest, ThePanelRisesRestsLeavesAndStartsOverEndlessly) {
    Open();
    for (int cycle = 1; cycle <= 2; ++cycle) {
        SCOPED_TRACE(cycle);
        EXPECT_EQ(Tick(1), 2190);
        EXPECT_EQ(Tick(411), -1920);  // bottom edges level: 2235 - 4155
        EXPECT_EQ(Tick(120), -1920);  // rests for 120 ticks
        EXPECT_EQ(Tick(1), -1930);
        EXPECT_EQ(Tick(222), -4150);  // the last row of the panel still shows
        EXPECT_EQ(Tick(1), 2200);     // -4160 has left Picture1: back to the start, the pause counted afresh
    }
    // Closed half-way through the rest, the box opens with the scroll started afresh.
    EXPECT_EQ(Tick(412 + 60), -1920);
    program.frmAboutUnloaded().Unload();
    EXPECT_EQ(Open().Picture2.top, 2200);
    EXPECT_EQ(Tick(412 + 120), -1920);
    EXPECT_EQ(Tick(1), -1930);
}

}  // namespace
}  // namespace scorvane::testing
