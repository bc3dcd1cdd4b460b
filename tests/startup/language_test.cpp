#include "startup/Language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/Locale.h"
#include "startup/ApplyLanguage.h"
#include "startup/Settings.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

// Sets LC_ALL, LC_MESSAGES and LANG (nullptr: unset) for one test and puts the old values back afterwards.
class LocaleVariables {
public:
    LocaleVariables(const char* all, const char* messages, const char* lang) {
        const char* values[] = {all, messages, lang};
        for (std::size_t i = 0; i < 3; ++i) {
            if (const char* old = std::getenv(kNames[i])) saved_[i] = old;
            Set(kNames[i], values[i]);
        }
    }
    ~LocaleVariables() {
        for (std::size_t i = 0; i < 3; ++i) Set(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
    }
    LocaleVariables(const LocaleVariables&) = delete;
    LocaleVariables& operator=(const LocaleVariables&) = delete;

private:
    static void Set(const char* name, const char* value) {
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::optional<std::string> saved_[3];
};

TEST(Locale, TheLocaleComesFromLcAllThenLcMessagesThenLang) {
    struct Row {
        const char *all, *messages, *lang;
        std::string name;
    };
    const Row rows[] = {
        {nullptr, nullptr, "it_IT.UTF-8", "it_IT"},
        {nullptr, nullptr, "fr_FR.UTF-8@euro", "fr_FR"},
        {nullptr, nullptr, "sr_RS@latin", "sr_RS"},
        {nullptr, nullptr, "C", ""},
        {nullptr, nullptr, "C.UTF-8", ""},
        {nullptr, nullptr, "POSIX", ""},
        {nullptr, nullptr, nullptr, ""},
        {"ru_RU.UTF-8", "de_DE", "it_IT", "ru_RU"},
        {"", "pt_BR.UTF-8", "it_IT", "pt_BR"},
        {nullptr, "", "nl_BE", "nl_BE"},
        {"C", "it_IT", "it_IT", ""},
        {nullptr, nullptr, "de", "de"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lang ? row.lang : "-");
        LocaleVariables variables(row.all, row.messages, row.lang);
        EXPECT_EQ(LocaleName(), row.name);
    }
}

// The file follows the locale's language (and for Portuguese its region), never the country's name:
// German in Austria is German, Danish has no file of its own and is English.
TEST(Locale, TheLanguageFileFollowsTheLocalesLanguage) {
    // Each row: the locale name, a blank, the language file's name without ".lng".
    const std::string rows[] = {
        "de_DE German",  "de_AT German",     "de_CH German",   "de German",       "da_DK English",   "et_EE English",
        "es_ES Spanish", "es_MX Spanish",    "nl_NL Dutch",    "nl_BE Dutch",     "fr_BE French",    "sv_SE Swedish",
        "sv_FI Swedish", "pt_PT Portuguese", "pt Portuguese",  "pt_BR Brazilian", "pt_br Brazilian", "tr_TR Turkish",
        "zh_CN Chinese", "zh_TW Chinese",    "ko_KR Korean",   "ru_RU Russian",   "it_IT Italiano",  "it_CH Italiano",
        "en_US English", "en_GB English",    "ast_ES English", "be_BY English",   "br_FR English",   "tn_ZA English",
        "DE_de German",  "zh-Hans Chinese",  " English",       "i English",
    };
    for (const std::string& row : rows) {
        const auto blank = row.rfind(' ');
        EXPECT_EQ(LanguageFileForLocale(row.substr(0, blank)), row.substr(blank + 1) + ".lng") << row;
    }
    LocaleVariables variables(nullptr, nullptr, "de_AT.UTF-8");
    EXPECT_EQ(LanguageFileForLocale(LocaleName()), "German.lng");
}

std::vector<std::string> Texts(const std::string& prefix, int count) {
    std::vector<std::string> texts;
    for (int n = 1; n <= count; ++n) texts.push_back(prefix + std::to_string(n));
    return texts;
}

void Load(TestBed& bed, const std::string& file) {
    bed.program().LangFile = file;
    LoadLanguageFile(bed.program());
}

TEST(LanguageFile, TheTablesLinesAreReadAndAShortFileKeepsTheEarlierTexts) {
    TestBed bed;
    bed.UseMarkerTexts();
    bed.InstallLanguage("A.lng", Texts("a", 100));
    bed.InstallLanguage("B.lng", Texts("b", kLanguageLines));
    bed.InstallLanguage("C.lng", Texts("c", 40));
    auto expectTexts = [&](const std::string& file, const std::string& own, int lastOfFile, const char* rest) {
        Load(bed, file);
        EXPECT_EQ(bed.program().Lang[0], "L0");
        for (int n = 1; n <= kLanguageLines; ++n) {
            const std::string prefix = n <= lastOfFile ? own : rest;
            EXPECT_EQ(bed.program().Lang[static_cast<std::size_t>(n)], prefix + std::to_string(n)) << file;
        }
    };
    expectTexts("A.lng", "a", kLanguageLines, "");  // the lines after the table's last entry are ignored
    expectTexts("B.lng", "b", kLanguageLines, "");
    expectTexts("C.lng", "c", 40, "b");
    EXPECT_TRUE(bed.desktop.messages.empty());
}

TEST(LanguageFile, ThreeCharactersOfEachLineAreSkipped) {
    TestBed bed;
    bed.UseMarkerTexts();
    bed.InstallRawLanguage("R.lng", "01=word\r\n123\r\nab\r\n\r\nxyz \r\näöü€rest\n01=a, \"b\"\r\n01=last");
    Load(bed, "R.lng");
    const auto& Lang = bed.program().Lang;
    const std::string expected[] = {"word", "", "", "", " ", "€rest", "a, \"b\"", "last"};
    for (std::size_t n = 1; n <= 8; ++n) EXPECT_EQ(Lang[n], expected[n - 1]) << n;
    EXPECT_EQ(Lang[9], "L9");
}

// Without English.lng to fall back on, a file that cannot be read leaves the table as it was; the
// message names the file each time, and no name is kept.
TEST(LanguageFile, AFileThatCannotBeReadLeavesTheTableWithoutEnglish) {
    TestBed bed;
    std::filesystem::remove(bed.ProgramFolder() + "/Files/Lang/English.lng");
    bed.UseMarkerTexts();
    std::filesystem::create_directory(bed.ProgramFolder() + "/Files/Lang/Folder.lng");
    for (const char* file : {"Missing.lng", "Folder.lng", ""}) {
        bed.desktop.messages.clear();
        Load(bed, file);
        for (int n = 0; n < Program::kLangSize; ++n) {
            EXPECT_EQ(bed.program().Lang[static_cast<std::size_t>(n)], "L" + std::to_string(n)) << file;
        }
        EXPECT_EQ(bed.program().LangFile, "");
        ASSERT_EQ(bed.desktop.messages.size(), 1u);
        EXPECT_EQ(bed.desktop.messages[0].text, "L91\r" + bed.ProgramFolder() + "/Files/Lang/" + file);
    }
}

TEST(ApplyLanguage, PutsEveryTextInItsPlace) {
    TestBed bed;
    Program& program = bed.program();
    bed.UseMarkerTexts();
    program.MethodDesc[15] = "left over";
    program.form1().StoredMethodIndex() = "1";

    ApplyLanguage(program);

    Form1& form = program.form1();
    const std::pair<const std::string*, std::string> captions[] = {
        {&form.mnuFile.caption, "L1"},
        {&form.mnuEsci.caption, "L2"},
        {&form.mnuDistruggi.caption, "&L3"},
        {&form.mnuDistruggiFile.caption, "&L84"},
        {&form.mnuDistruggiCartella.caption, "L80..."},
        {&form.mnuDistruggiSpazioLibero.caption, "L85"},
        {&form.mnuOpzioni.caption, "L56"},
        {&form.mnuLingua.caption, "L55"},
        {&form.mnuAggLingua.caption, "L79"},
        {&form.mnuDonazioni.caption, "L5"},
        {&form.mnuFaiDonazione.caption, "L6"},
        {&form.mnuGuida.caption, "L7"},
        {&form.mnuVersioni.caption, "L82"},
        {&form.mnuAggiornamenti.caption, "L8"},
        {&form.mnuInfo.caption, "L9"},
        {&form.Command1.caption, "L84"},
        {&form.Command2.caption, "L85"},
        {&form.Command3.caption, "L80"},
        {&form.Label1.caption, "L34"},
        {&form.Label4.caption, "L10"},
        {&form.mnuHelp.caption, "&?"},
        {&form.r2.caption, "-"},
        {&form.r3.caption, "-"},
        {&form.Label9.caption, "L38"},
        {&form.Label3.caption, "L38"},
    };
    for (const auto& [caption, expected] : captions) EXPECT_EQ(*caption, expected);
    EXPECT_TRUE(form.Label2.caption.ends_with(" - L11")) << form.Label2.caption;
    EXPECT_GT(form.Label2.caption.size(), 6u);
    EXPECT_FALSE(form.Label2.visible);
    for (std::size_t k = 0; k < 9; ++k) {
        EXPECT_EQ(program.MethodName[k], "L" + std::to_string(35 + 2 * k));
        EXPECT_EQ(program.MethodDesc[k], "L" + std::to_string(36 + 2 * k));
        EXPECT_EQ(form.Combo1.items.at(k), program.MethodName[k]);
    }
    for (std::size_t k = 9; k < 21; ++k) EXPECT_EQ(program.MethodDesc[k], "");
    EXPECT_EQ(form.Combo1.items.size(), 9u);
    EXPECT_EQ(form.Combo1.listIndex, 1);
}

TEST(ApplyLanguage, StoredMethodIndexBecomesThePosition) {
    struct Row {
        std::string stored;
        int position;  // -1: nothing selected, the description and the settings file untouched
    };
    const Row rows[] = {
        {"3", 3},   {"", 0},    {"2.5", 2},  {"3.5", 4},    {"7abc", 7},     {" 5", 5},      {"\t4", 4},  {"8", 8},
        {"abc", 0}, {"0.5", 0}, {"-0.5", 0}, {"1e0", 1},    {"2d0", 2},      {".6e1", 6},    {"1 2", 1},  {"3,4", 3},
        {"-1", -1}, {"9", -1},  {"-2", -1},  {"40000", -1}, {"32767.5", -1}, {"-32769", -1}, {"8.6", -1}, {"1e1", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("\"" + row.stored + "\"");
        TestBed bed;
        Program& program = bed.program();
        bed.UseMarkerTexts();
        program.LangFile = "X.lng";
        Form1& form = program.form1();
        form.Label9.caption = "before";
        form.StoredMethodIndex() = row.stored;

        ApplyLanguage(program);

        EXPECT_EQ(form.Combo1.listIndex, row.position);
        const std::string settings = bed.ProgramFolder() + "/Scorvane.ini";
        if (row.position >= 0) {
            EXPECT_EQ(form.Label9.caption, "L" + std::to_string(36 + 2 * row.position));
            EXPECT_EQ(ReadBytes(settings), std::to_string(row.position) + "\r\nX.lng\r\n");
        } else {
            EXPECT_EQ(form.Label9.caption, "before");
            EXPECT_FALSE(PathExists(settings));
        }
    }
}

TEST(ApplyLanguage, ALanguageChangeKeepsTheChosenMethod) {
    TestBed bed;
    bed.InstallShippedLanguage("English.lng");
    bed.InstallShippedLanguage("German.lng");
    WriteBytes(bed.ProgramFolder() + "/Scorvane.ini", "5\r\nEnglish.lng\r\n");
    Program& program = bed.program();
    Main(program);
    const std::string englishName = program.form1().Combo1.items[2];
    ASSERT_TRUE(program.form1().Combo1.SetListIndex(2).ok());

    // What the language menu does once a file is chosen.
    program.LangFile = "German.lng";
    SaveSettings(program);
    LoadSettings(program);
    ApplyLanguage(program);

    Form1& form = program.form1();
    EXPECT_EQ(form.Combo1.listIndex, 2);
    EXPECT_NE(form.Combo1.items[2], englishName);
    EXPECT_EQ(form.Combo1.items[2], program.Lang[39]);
    EXPECT_EQ(form.Label9.caption, program.Lang[40]);
    EXPECT_EQ(ReadBytes(bed.ProgramFolder() + "/Scorvane.ini"), "2\r\nGerman.lng\r\n");
}

}  // namespace
}  // namespace scorvane::testing
