#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/Text.h"
#include "startup/ApplyLanguage.h"
#include "startup/Language.h"
#include "startup/Settings.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

// Bytes of every value, with many line ends, commas, quotes, blanks and digits among them.
std::string RandomBytes(unsigned seed, std::size_t size) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> pick(0, 99);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string special = "\n\n\n\r\r,\" ";
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) {
        const int p = pick(generator);
        if (p < 32)
            bytes += special[static_cast<std::size_t>(p) % special.size()];
        else if (p < 42)
            bytes += static_cast<char>('0' + p % 10);
        else
            bytes += static_cast<char>(byte(generator));
    }
    return bytes;
}

std::string SettingsPath(TestBed& bed) { return bed.ProgramFolder() + "/Scorvane.ini"; }

TEST(BadInput, RandomSettingsFilesStillStart) {
    // Seeds that give selections from -1 to 8 and blank language names among them.
    for (const unsigned seed : {1u, 16u, 38u, 54u, 81u, 112u}) {
        SCOPED_TRACE(seed);
        TestBed bed;
        bed.InstallShippedLanguage("English.lng");
        WriteBytes(SettingsPath(bed), RandomBytes(seed, 20 + (seed % 6) * (seed % 6) * 60));
        // Whatever the field reader gives for the two fields is what the program takes.
        PosixFileServices reader;
        const FileHandle file = reader.Open(SettingsPath(bed), OpenMode::TextInput).value();
        const auto first = reader.ReadField(file);
        const auto second = reader.ReadField(file);
        reader.CloseAll();
        const std::string stored = first.ok() ? first.value() : "";
        // A name that names no language file falls back on English, after a message, and is not kept.
        const bool named = second.ok() && !Trim(second.value()).empty() && second.value() != "English.lng";
        const auto rounded = RoundToInt16(LeadingNumber(stored));
        const int position = rounded && *rounded >= 0 && *rounded <= 8 ? *rounded : -1;

        Main(bed.program());

        Form1& form = bed.program().form1();
        EXPECT_TRUE(form.visible);
        EXPECT_EQ(form.StoredMethodIndex(), stored);
        EXPECT_EQ(bed.program().LangFile, "English.lng");
        EXPECT_EQ(form.Combo1.listIndex, position);
        EXPECT_EQ(form.Combo1.items.size(), 9u);
        EXPECT_EQ(ReadBytes(SettingsPath(bed)), std::to_string(position) + "\r\nEnglish.lng\r\n");
        EXPECT_EQ(bed.desktop.messages.size(), named ? 1u : 0u);
    }
}

TEST(BadInput, RandomLanguageFilesFillOnlyTheirLines) {
    for (const unsigned seed : {11u, 12u, 13u, 14u}) {
        SCOPED_TRACE(seed);
        TestBed bed;
        const std::string content = RandomBytes(seed, 100 + (seed - 10) * 300);
        bed.InstallRawLanguage("Random.lng", content);
        WriteBytes(SettingsPath(bed), "1\r\nRandom.lng\r\n");

        Main(bed.program());

        // CR LF, LF and a lone CR each end a line.
        std::vector<std::string> lines;
        for (std::size_t start = 0; start < content.size();) {
            const std::size_t end = std::min(content.find_first_of("\r\n", start), content.size());
            lines.push_back(content.substr(start, end - start));
            start = end + (content.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        }
        const auto& Lang = bed.program().Lang;
        EXPECT_EQ(Lang[0], "");
        for (std::size_t n = 1; n <= kLanguageLines; ++n) {
            if (n > lines.size()) {
                EXPECT_EQ(Lang[n], "") << n;
                continue;
            }
            const std::string& line = lines[n - 1];
            EXPECT_TRUE(line.ends_with(Lang[n])) << n;
            const bool plainStart = line.size() > 3 && (static_cast<unsigned char>(line[3]) & 0xC0) != 0x80 &&
                                    std::all_of(line.begin(), line.begin() + 3, [](char c) { return c > 0; });
            if (plainStart) {
                EXPECT_EQ(Lang[n], line.substr(3)) << n;
            }
        }
        Form1& form = bed.program().form1();
        EXPECT_TRUE(form.visible);
        EXPECT_EQ(form.Combo1.listIndex, 1);
        EXPECT_EQ(form.Label9.caption, Lang[38]);
        for (std::size_t k = 0; k < 9; ++k) EXPECT_EQ(form.Combo1.items.at(k), Lang[35 + 2 * k]);
    }
}

// A megabyte field of the settings file is taken whole; a language line is cut at 4 KiB, and a language
// file of one huge line costs no more memory than one such line.
TEST(BadInput, MegabyteFieldsAreTakenWholeAndLanguageLinesCut) {
    const std::string mega(1 << 20, 'x');
    const std::string name(1 << 20, 'n');
    TestBed bed;
    bed.InstallShippedLanguage("English.lng");
    bed.InstallRawLanguage("Big.lng", "01=a\r\n02=" + mega + "\r\n03=c\r\n");
    // A megabyte of method text, then a language name that no file system takes.
    WriteBytes(SettingsPath(bed), mega + "\r\n" + name + "\r\n");

    Main(bed.program());

    Form1& form = bed.program().form1();
    EXPECT_TRUE(form.visible);
    EXPECT_EQ(form.StoredMethodIndex(), mega);
    EXPECT_EQ(form.Combo1.listIndex, 0);
    EXPECT_EQ(bed.program().LangFile, "English.lng");
    EXPECT_EQ(ReadBytes(SettingsPath(bed)), "0\r\nEnglish.lng\r\n");

    bed.program().LangFile = "Big.lng";
    LoadLanguageFile(bed.program());
    EXPECT_EQ(bed.program().Lang[2], mega.substr(0, 4096 - 3));
    EXPECT_EQ(bed.program().Lang[3], "c");

    // 100 MiB without a line end, written in pieces so that the test itself stays small.
    {
        std::ofstream out(bed.ProgramFolder() + "/Files/Lang/Huge.lng", std::ios::binary);
        for (int i = 0; i < 100; ++i) out.write(mega.data(), static_cast<std::streamsize>(mega.size()));
    }
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    bed.program().LangFile = "Huge.lng";
    LoadLanguageFile(bed.program());
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_EQ(bed.program().Lang[1], mega.substr(0, 4096 - 3));
    EXPECT_EQ(bed.program().Lang[2], mega.substr(0, 4096 - 3));  // the earlier file's, kept
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024) << "KiB";
}

TEST(BadInput, NulCharactersStayInsideTheirTexts) {
    const std::string nul(1, '\0');
    TestBed bed;
    bed.InstallShippedLanguage("German.lng");
    WriteBytes(SettingsPath(bed), "3" + nul + "junk\r\nGerman.lng" + nul + "\r\n");

    Main(bed.program());

    Form1& form = bed.program().form1();
    EXPECT_EQ(form.StoredMethodIndex(), "3" + nul + "junk");
    EXPECT_EQ(form.Combo1.listIndex, 3);
    // The name is not cut at its NUL, so German.lng itself is not what gets loaded: English is.
    EXPECT_EQ(bed.program().LangFile, "English.lng");
    EXPECT_EQ(form.mnuEsci.caption, "L2");
    EXPECT_EQ(ReadBytes(SettingsPath(bed)), "3\r\nEnglish.lng\r\n");

    bed.InstallRawLanguage("Nul.lng", "01=a\r\n02=b" + nul + "c\r\n");
    bed.program().LangFile = "Nul.lng";
    LoadLanguageFile(bed.program());
    EXPECT_EQ(bed.program().Lang[2], "b" + nul + "c");
}

TEST(BadInput, ALanguageNameWithFolderStepsReadsWhatItNamesAndWritesNothingElse) {
    TestBed bed;
    WriteBytes(SettingsPath(bed), "2\r\n../../Scorvane.ini\r\n");
    const auto rootBefore = FolderEntries(bed.Root());

    Main(bed.program());

    Form1& form = bed.program().form1();
    EXPECT_TRUE(form.visible);
    EXPECT_EQ(bed.program().LangFile, "../../Scorvane.ini");
    EXPECT_EQ(form.Combo1.listIndex, 2);
    // Files/Lang/../../Scorvane.ini is the settings file itself, read as a language file.
    EXPECT_EQ(form.mnuFile.caption, "");
    EXPECT_EQ(form.mnuEsci.caption, "../Scorvane.ini");
    EXPECT_EQ(ReadBytes(SettingsPath(bed)), "2\r\n../../Scorvane.ini\r\n");
    EXPECT_EQ(FolderEntries(bed.Root()), rootBefore);
    EXPECT_EQ(FolderEntries(bed.ProgramFolder()), (std::vector<std::string>{"Files", "Scorvane.ini"}));
}

TEST(BadInput, SpecialFilesAreNeitherFollowedNorWaitedFor) {
    TestBed bed;
    bed.InstallShippedLanguage("English.lng");
    WriteBytes(bed.Work("elsewhere.txt"), "7\r\nGerman.lng\r\n");
    ASSERT_EQ(::symlink(bed.Work("elsewhere.txt").c_str(), SettingsPath(bed).c_str()), 0);
    Main(bed.program());
    // A link is not a settings file: a first run, and nothing is written through it.
    EXPECT_EQ(bed.program().form1().Combo1.listIndex, 0);
    EXPECT_EQ(bed.program().LangFile, "English.lng");
    EXPECT_EQ(ReadBytes(bed.Work("elsewhere.txt")), "7\r\nGerman.lng\r\n");
    EXPECT_TRUE(bed.program().form1().visible);

    TestBed fifos;
    std::filesystem::remove(fifos.ProgramFolder() + "/Files/Lang/English.lng");
    ASSERT_EQ(::mkfifo(SettingsPath(fifos).c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((fifos.ProgramFolder() + "/Files/Lang/English.lng").c_str(), 0600), 0);
    Main(fifos.program());
    EXPECT_TRUE(fifos.program().form1().visible);
    EXPECT_EQ(fifos.program().form1().Combo1.items, std::vector<std::string>(9));
}

// A stored number beyond every integer range selects nothing, like any number beyond 16 bits.
TEST(BadInput, AHugeStoredNumberSelectsNothing) {
    for (const std::string& stored : {std::string("1e400"), std::string("-1e400"), std::string(1 << 20, '7')}) {
        TestBed bed;
        bed.UseMarkerTexts();
        bed.program().form1().StoredMethodIndex() = stored;
        ApplyLanguage(bed.program());
        EXPECT_EQ(bed.program().form1().Combo1.listIndex, -1) << stored.substr(0, 8);
    }
}

}  // namespace
}  // namespace scorvane::testing
