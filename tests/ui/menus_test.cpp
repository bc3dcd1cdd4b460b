#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "startup/Settings.h"
#include "support/TestBed.h"
#include "ui/HelpMenu.h"

namespace scorvane::testing {
namespace {

namespace fs = std::filesystem;

// Texts "<prefix><n>" for lines 1 to `lines`.
std::vector<std::string> Texts(const std::string& prefix, int lines = 90) {
    std::vector<std::string> texts;
    for (int n = 1; n <= lines; ++n) texts.push_back(prefix + std::to_string(n));
    return texts;
}

// A started program in language A with method 3 stored, then method 5 chosen in the list, so that a
// language change must keep 5 (the list's position) and not go back to the stored 3.
class LanguageMenuTest : public ::testing::Test {
protected:
    LanguageMenuTest() {
        bed.InstallLanguage("A.lng", Texts("A"));
        bed.InstallLanguage("German.lng", Texts("G"));
        bed.InstallLanguage("Short.lng", Texts("S", 40));
        WriteBytes(Settings(), "3\r\nA.lng\r\n");
        Main(program);
        EXPECT_TRUE(form.Combo1.SetListIndex(5).ok());
    }
    std::string Settings() const { return bed.ProgramFolder() + "/Scorvane.ini"; }
    std::string LanguageFolder() const { return bed.ProgramFolder() + "/Files/Lang/"; }

    TestBed bed;
    Program& program = bed.program();
    Form1& form = program.form1();
};

TEST_F(LanguageMenuTest, TheChosenNameIsLoadedShownAndSavedWithTheSameMethod) {
    struct Row {
        const char* what;
        std::vector<std::string> chosen;
        std::string langFile;
        std::string entry1, entry55;  // Lang[1] (mnuFile) and Lang[55] (mnuLingua) afterwards
    };
    const std::string elsewhere = bed.Work("copies/Files/Lang/");
    const Row rows[] = {
        {"own folder", {LanguageFolder() + "German.lng"}, "German.lng", "G1", "G55"},
        {"another Files/Lang folder: the program's own file of that name",
         {elsewhere + "German.lng"},
         "German.lng",
         "G1",
         "G55"},
        {"the last Files/Lang decides", {bed.Work("Files/Lang/x/Files/Lang/German.lng")}, "German.lng", "G1", "G55"},
        {"40 lines: the later entries keep the earlier language",
         {LanguageFolder() + "Short.lng"},
         "Short.lng",
         "S1",
         "A55"},
        {"no Files/Lang in the path", {bed.Work("German.lng")}, "A.lng", "A1", "A55"},
        {"Files/Lang in another case", {bed.Work("files/lang/German.lng")}, "A.lng", "A1", "A55"},
        {"several files", {LanguageFolder() + "German.lng", LanguageFolder() + "Short.lng"}, "A.lng", "A1", "A55"},
        // Storing a name the language folder lacks would start the next run without any text.
        {"a name the language folder lacks", {elsewhere + "Klingon.lng"}, "A.lng", "A1", "A55"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        bed.desktop.fileAnswers.push_back(row.chosen);
        form.mnuLingua.onClick();

        EXPECT_EQ(program.LangFile, row.langFile);
        EXPECT_EQ(form.mnuFile.caption, row.entry1);
        EXPECT_EQ(form.mnuLingua.caption, row.entry55);
        EXPECT_EQ(form.Combo1.items.front(), program.Lang[35]);
        EXPECT_EQ(form.Combo1.listIndex, 5);
        EXPECT_EQ(form.Label9.caption, program.Lang[46]);
        EXPECT_EQ(ReadBytes(Settings()), "5\r\n" + row.langFile + "\r\n");
        EXPECT_TRUE(bed.desktop.messages.empty());

        // Back to A for the next row.
        bed.desktop.fileAnswers.push_back({LanguageFolder() + "A.lng"});
        form.mnuLingua.onClick();
        ASSERT_EQ(program.LangFile, "A.lng");
        ASSERT_EQ(form.mnuLingua.caption, "A55");
    }
}

TEST_F(LanguageMenuTest, TheDialogOffersLanguageFilesThenAllFilesUnderTheLanguageTitle) {
    bed.desktop.fileAnswers.push_back({LanguageFolder() + "German.lng"});
    form.mnuLingua.onClick();
    ASSERT_EQ(bed.desktop.fileFilters.size(), 1u);
    EXPECT_EQ(bed.desktop.fileFilters[0], (std::vector<FileFilter>{{"A50", "*.lng"}, {"A15", "*.*"}}));
    EXPECT_EQ(bed.desktop.pickerTitles[0], "A21");
    // The help entry follows the new language at once.
    form.mnuGuida.onClick();
    EXPECT_EQ(bed.desktop.shellOpens.back(), bed.ProgramFolder() + "/Files/Help/Help_Ger.html");
}

TEST_F(LanguageMenuTest, CancellingChangesAndWritesNothing) {
    fs::remove(Settings());
    bed.desktop.fileAnswers.push_back({});
    form.mnuLingua.onClick();
    EXPECT_EQ(program.LangFile, "A.lng");
    EXPECT_EQ(form.mnuLingua.caption, "A55");
    EXPECT_EQ(form.Combo1.listIndex, 5);
    EXPECT_FALSE(PathExists(Settings()));
}

// A program folder that holds every help page, so that no fallback is taken.
class HelpMenuTest : public ::testing::Test {
protected:
    HelpMenuTest() {
        fs::create_directories(Help(""));
        for (const char* page : {"Help_Ru.html", "Help_Es.html", "Help_Pt.html", "Help_Ger.html", "Help_It.html"}) {
            WriteBytes(Help(page), "<html></html>");
        }
    }
    std::string Help(const std::string& page) const { return bed.ProgramFolder() + "/Files/Help/" + page; }
    std::string Opened() {
        program.LangFile = langFile;
        form.mnuGuida.onClick();
        return bed.desktop.shellOpens.empty() ? std::string() : bed.desktop.shellOpens.back();
    }

    TestBed bed;
    Program& program = bed.program();
    Form1& form = program.form1();
    std::string langFile;
};

TEST_F(HelpMenuTest, EachLanguageFileOpensItsHelpPageAndEveryOtherTheSharedOne) {
    const std::pair<std::string, std::string> rows[] = {
        {"Russian.lng", "Help_Ru.html"},          {"Spanish.lng", "Help_Es.html"},
        {"Portugu\xC3\xAAs.lng", "Help_Pt.html"}, {"German.lng", "Help_Ger.html"},
        {"Portuguese.lng", "Help_It.html"},       {"English.lng", "Help_It.html"},
        {"Italiano.lng", "Help_It.html"},         {"german.lng", "Help_It.html"},
        {"German.lng ", "Help_It.html"},          {"", "Help_It.html"},
    };
    for (const auto& [name, page] : rows) {
        langFile = name;
        EXPECT_EQ(Opened(), Help(page)) << name;
        // Every page the entry can open ships with the program.
        EXPECT_TRUE(fs::is_regular_file(std::string(SCORVANE_SOURCE_DIR) + "/resources/" + HelpPageFor(name))) << name;
    }
    EXPECT_TRUE(bed.desktop.messages.empty());
}

TEST_F(HelpMenuTest, AMissingPageFallsBackToTheSharedPage) {
    langFile = "German.lng";
    fs::remove(Help("Help_Ger.html"));
    EXPECT_EQ(Opened(), Help("Help_It.html"));
    // With no page at all the desktop gets the language's own page and shows what it shows.
    fs::remove(Help("Help_It.html"));
    EXPECT_EQ(Opened(), Help("Help_Ger.html"));
    EXPECT_TRUE(bed.desktop.messages.empty());
}

TEST_F(HelpMenuTest, VersionHistoryAndWebPagesOpenThroughTheDesktop) {
    form.mnuVersioni.onClick();
    form.mnuAggiornamenti.onClick();
    form.mnuAggLingua.onClick();
    form.mnuFaiDonazione.onClick();
    EXPECT_EQ(
        bed.desktop.shellOpens,
        (std::vector<std::string>{bed.ProgramFolder() + "/Versioni.txt", "https://scorvane.example.org/scorvane.html",
                                  "https://scorvane.example.org/scorvane-languages.html",
                                  "https://scorvane.example.org/donazioni--donation.html"}));
    EXPECT_TRUE(bed.desktop.messages.empty());
    // The shipped history names the first release.
    EXPECT_NE(ReadBytes(std::string(SCORVANE_SOURCE_DIR) + "/resources/Versioni.txt").find("2.5.0.15"),
              std::string::npos);
}

}  // namespace
}  // namespace scorvane::testing
