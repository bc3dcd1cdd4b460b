#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <sstream>

#include "startup/Settings.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

// Lang[n] of a shipped language file ("NN=" before each text).
std::string ShippedText(const std::string& file, int n) {
    std::istringstream in(ReadBytes(std::string(SCORVANE_SOURCE_DIR) + "/resources/Files/Lang/" + file));
    std::string line;
    for (int i = 0; i < n; ++i) std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line.size() > 3 ? line.substr(3) : std::string();
}

// Counts the closes of "Scorvane.ini" after writing, whoever writes it and however.
class SettingsWrites {
public:
    explicit SettingsWrites(const std::string& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        // Watching opens and modifications too keeps two closes from being merged into one event.
        ::inotify_add_watch(fd_, folder.c_str(), IN_OPEN | IN_MODIFY | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE);
    }
    ~SettingsWrites() { ::close(fd_); }
    SettingsWrites(const SettingsWrites&) = delete;
    SettingsWrites& operator=(const SettingsWrites&) = delete;

    int Count() {
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t got; (got = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            for (const char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if ((event->mask & IN_CLOSE_WRITE) != 0 && event->len > 0 &&
                    std::string(event->name) == "Scorvane.ini") {
                    ++count_;
                }
                at += sizeof(inotify_event) + event->len;
            }
        }
        return count_;
    }

private:
    int fd_;
    int count_ = 0;
};

std::string SettingsPath(TestBed& bed) { return bed.ProgramFolder() + "/Scorvane.ini"; }

TEST(StartUp, StoredMethodAndLanguageAreRestoredAndWrittenBack) {
    TestBed bed;
    bed.InstallShippedLanguage("German.lng");
    WriteBytes(SettingsPath(bed), "3\r\nGerman.lng\r\n");
    SettingsWrites writes(bed.ProgramFolder());

    Main(bed.program());

    Form1& form = bed.program().form1();
    EXPECT_EQ(form.Combo1.listIndex, 3);
    EXPECT_EQ(bed.program().LangFile, "German.lng");
    ASSERT_EQ(form.Combo1.items.size(), 9u);
    EXPECT_EQ(form.Combo1.items[3], ShippedText("German.lng", 41));
    EXPECT_EQ(form.Label9.caption, ShippedText("German.lng", 42));
    EXPECT_EQ(form.Label3.caption, form.Label9.caption);
    EXPECT_EQ(form.mnuEsci.caption, ShippedText("German.lng", 2));
    EXPECT_EQ(form.Command3.caption, ShippedText("German.lng", 80));
    EXPECT_TRUE(form.visible);
    EXPECT_EQ(form.caption, "Scorvane 2.5.0.15");
    EXPECT_EQ(form.Command1.foreColor, Palette::LightGrey);
    EXPECT_EQ(bed.desktop.events, std::vector<std::string>{"show Form1"});
    EXPECT_TRUE(bed.desktop.messages.empty());
    EXPECT_EQ(ReadBytes(SettingsPath(bed)), "3\r\nGerman.lng\r\n");
    // Twice by the method list's change handling, once by SaveSettings.
    EXPECT_EQ(writes.Count(), 3);
}

// Editors on other desktops start a UTF-8 file with a byte-order mark: one is skipped in the settings
// file and in the language file, and only there, at the very start.
TEST(StartUp, AByteOrderMarkAtTheStartOfTheSettingsAndLanguageFilesIsSkipped) {
    TestBed bed;
    const std::string mark = "\xEF\xBB\xBF";
    bed.InstallRawLanguage("Marked.lng", mark + "01=File\r\n02=" + mark + "Exit\r\n");
    WriteBytes(SettingsPath(bed), mark + "5\r\nMarked.lng\r\n");

    Main(bed.program());

    EXPECT_EQ(bed.program().form1().Combo1.listIndex, 5);
    EXPECT_EQ(bed.program().Lang[1], "File");
    EXPECT_EQ(bed.program().form1().mnuFile.caption, "File");
    EXPECT_EQ(bed.program().Lang[2], mark + "Exit");
    EXPECT_EQ(ReadBytes(SettingsPath(bed)), "5\r\nMarked.lng\r\n");
}

TEST(StartUp, FirstRunWritesTwiceWithMethod0AndTheLocaleLanguage) {
    struct Row {
        std::string country, file;
        bool installed;
    };
    for (const Row& row :
         {Row{"United States", "English.lng", true}, Row{"Italy", "Italiano.lng", true},
          Row{"Denmark", "German.lng", true}, Row{"", "English.lng", true}, Row{"France", "French.lng", false}}) {
        SCOPED_TRACE(row.country);
        TestBed bed({.commandLine = "", .localeCountry = row.country});
        if (row.installed) bed.InstallShippedLanguage(row.file);
        SettingsWrites writes(bed.ProgramFolder());

        Main(bed.program());

        Form1& form = bed.program().form1();
        EXPECT_EQ(bed.program().LangFile, row.file);
        EXPECT_EQ(form.StoredMethodIndex(), "");
        EXPECT_EQ(form.Combo1.listIndex, 0);
        // Without its language file the program still starts, with empty texts.
        EXPECT_EQ(form.Label9.caption, row.installed ? ShippedText(row.file, 36) : "");
        EXPECT_EQ(form.mnuFile.caption, row.installed ? ShippedText(row.file, 1) : "");
        EXPECT_EQ(form.Combo1.items.size(), 9u);
        EXPECT_TRUE(form.visible);
        EXPECT_EQ(ReadBytes(SettingsPath(bed)), "0\r\n" + row.file + "\r\n");
        EXPECT_EQ(writes.Count(), 2);
    }
}

TEST(StartUp, SettingsFileFieldsAndTheirRewrite) {
    struct Row {
        std::string content, stored;
        int position;
        std::string langFile, rewritten;
    };
    const std::string german = "German.lng\r\n";
    const std::string english = "English.lng\r\n";
    const Row rows[] = {
        {"3\nGerman.lng\n", "3", 3, "German.lng", "3\r\n" + german},  // LF line ends are read too
        {"3,German.lng\r\nFrench.lng\r\n", "3", 3, "German.lng", "3\r\n" + german},
        {"\"5\"\r\n\"German.lng\"\r\n", "5", 5, "German.lng", "5\r\n" + german},
        {"  6  \r\n  German.lng  \r\n", "6", 6, "German.lng", "6\r\n" + german},
        {"3\r\n\r\n", "3", 3, "English.lng", "3\r\n" + english},
        {"3\r\n    \r\n", "3", 3, "English.lng", "3\r\n" + english},
        {"3", "3", 3, "English.lng", "3\r\n" + english},
        {"", "", 0, "English.lng", "0\r\n" + english},
        {"-1\r\nGerman.lng\r\n", "-1", -1, "German.lng", "-1\r\n" + german},
        {"12\r\nGerman.lng\r\n", "12", -1, "German.lng", "-1\r\n" + german},
        {"abc\r\nGerman.lng\r\n", "abc", 0, "German.lng", "0\r\n" + german},
        {"2.5\r\nGerman.lng\r\n", "2.5", 2, "German.lng", "2\r\n" + german},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.content);
        TestBed bed;
        bed.InstallShippedLanguage("German.lng");
        bed.InstallShippedLanguage("English.lng");
        WriteBytes(SettingsPath(bed), row.content);

        Main(bed.program());

        Form1& form = bed.program().form1();
        EXPECT_EQ(form.StoredMethodIndex(), row.stored);
        EXPECT_EQ(form.Combo1.listIndex, row.position);
        EXPECT_EQ(bed.program().LangFile, row.langFile);
        EXPECT_EQ(form.mnuInfo.caption, ShippedText(row.langFile, 9));
        // Without a selection no change handling ran and the description keeps its built text.
        const std::string description =
            row.position >= 0 ? ShippedText(row.langFile, 36 + 2 * row.position) : "Metodo di cancellazione";
        EXPECT_EQ(form.Label9.caption, description);
        EXPECT_TRUE(form.visible);
        EXPECT_EQ(ReadBytes(SettingsPath(bed)), row.rewritten);
    }
}

TEST(StartUp, MissingLanguageFileStartsWithEmptyCaptions) {
    TestBed bed;
    WriteBytes(SettingsPath(bed), "3\r\nMissing.lng\r\n");

    Main(bed.program());

    Form1& form = bed.program().form1();
    EXPECT_EQ(form.Combo1.items, std::vector<std::string>(9));
    EXPECT_EQ(form.Combo1.listIndex, 3);
    EXPECT_EQ(form.Label9.caption, "");
    EXPECT_EQ(form.mnuFile.caption, "");
    EXPECT_EQ(form.mnuDistruggi.caption, "&");
    EXPECT_EQ(form.mnuDistruggiCartella.caption, "...");
    EXPECT_EQ(form.mnuHelp.caption, "&?");
    EXPECT_EQ(form.Command1.caption, "");
    EXPECT_TRUE(form.visible);
    EXPECT_TRUE(bed.desktop.messages.empty());
    EXPECT_EQ(ReadBytes(SettingsPath(bed)), "3\r\nMissing.lng\r\n");
}

TEST(StartUp, SettingsThatCannotBeWrittenAreSkippedQuietly) {
    for (const char* operation : {"Open", "PrintLine"}) {
        SCOPED_TRACE(operation);
        TestBed bed;
        bed.InstallShippedLanguage("German.lng");
        WriteBytes(SettingsPath(bed), "4\r\nGerman.lng\r\n");
        // Every open after the settings and language reads, or every line written, fails.
        bed.files.FailOperation(operation, ENOSPC, std::string(operation) == "Open" ? 2 : 0);

        Main(bed.program());

        Form1& form = bed.program().form1();
        EXPECT_TRUE(form.visible);
        EXPECT_EQ(form.Combo1.listIndex, 4);
        EXPECT_EQ(form.mnuEsci.caption, ShippedText("German.lng", 2));
        EXPECT_TRUE(bed.desktop.messages.empty());
        EXPECT_GT(bed.files.failures(), 0);
    }
}

}  // namespace
}  // namespace scorvane::testing
