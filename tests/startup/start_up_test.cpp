#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "startup/Settings.h"
#include "support/Messages.h"
#include "support/MountedTmpfs.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

namespace fs = std::filesystem;

// Lang[n] of a shipped language file ("NN=" before each text).
std::string ShippedText(const std::string& file, int n) {
    std::istringstream in(ReadBytes(std::string(SCORVANE_SOURCE_DIR) + "/resources/Files/Lang/" + file));
    std::string line;
    for (int i = 0; i < n; ++i) std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line.size() > 3 ? line.substr(3) : std::string();
}

// Counts the writes of "Scorvane.ini": each puts a new file in its place under that name.
class SettingsWrites {
public:
    explicit SettingsWrites(const std::string& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        ::inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    ~SettingsWrites() { ::close(fd_); }
    SettingsWrites(const SettingsWrites&) = delete;
    SettingsWrites& operator=(const SettingsWrites&) = delete;

    int Count() {
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t got; (got = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            for (const char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0 && std::string(event->name) == "Scorvane.ini") {
                    // Written in place, it would show as a close after writing: it never is.
                    count_ += (event->mask & IN_MOVED_TO) != 0 ? 1 : 1000;
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
        std::string locale, file;
        bool installed;
    };
    for (const Row& row :
         {Row{"en_US", "English.lng", true}, Row{"it_IT", "Italiano.lng", true}, Row{"de_AT", "German.lng", true},
          Row{"da_DK", "English.lng", true}, Row{"", "English.lng", true}, Row{"fr_FR", "French.lng", false}}) {
        SCOPED_TRACE(row.locale);
        TestBed bed({.commandLine = "", .localeName = row.locale});
        if (row.installed) bed.InstallShippedLanguage(row.file);
        SettingsWrites writes(bed.ProgramFolder());

        Main(bed.program());

        Form1& form = bed.program().form1();
        EXPECT_EQ(form.StoredMethodIndex(), "");
        EXPECT_EQ(form.Combo1.listIndex, 0);
        EXPECT_EQ(form.Combo1.items.size(), 9u);
        EXPECT_TRUE(form.visible);
        EXPECT_EQ(writes.Count(), 2);
        if (row.installed) {
            EXPECT_EQ(bed.program().LangFile, row.file);
            EXPECT_EQ(form.Label9.caption, ShippedText(row.file, 36));
            EXPECT_EQ(form.mnuFile.caption, ShippedText(row.file, 1));
            EXPECT_EQ(ReadBytes(SettingsPath(bed)), "0\r\n" + row.file + "\r\n");
            EXPECT_TRUE(bed.desktop.messages.empty());
        } else {
            // Without its language file the program starts in English and says which file it missed.
            EXPECT_EQ(bed.program().LangFile, "English.lng");
            EXPECT_EQ(form.mnuFile.caption, "L1");
            EXPECT_EQ(ReadBytes(SettingsPath(bed)), "0\r\nEnglish.lng\r\n");
            ExpectMessages(bed.desktop.messages,
                           {{"L91\r" + bed.ProgramFolder() + "/Files/Lang/" + row.file, 0x30, "L21"}});
        }
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

// A language file that cannot be read gives way to English.lng, with a message naming it, and its name
// is never saved; without English.lng either, the texts stay empty and no name is saved.
TEST(StartUp, ALanguageFileThatCannotBeReadFallsBackOnEnglish) {
    struct Row {
        std::string name;
        std::function<void(TestBed&)> make;  // makes Files/Lang/Bad.lng
        bool english;
    };
    const Row rows[] = {
        {"missing", [](TestBed&) {}, true},
        {"a folder", [](TestBed& bed) { fs::create_directory(bed.ProgramFolder() + "/Files/Lang/Bad.lng"); }, true},
        {"empty", [](TestBed& bed) { bed.InstallRawLanguage("Bad.lng", ""); }, true},
        {"a link to nothing",
         [](TestBed& bed) { fs::create_symlink("nothing", bed.ProgramFolder() + "/Files/Lang/Bad.lng"); }, true},
        {"missing, and English.lng too", [](TestBed&) {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestBed bed;
        if (row.english) {
            bed.InstallShippedLanguage("English.lng");
        } else {
            fs::remove(bed.ProgramFolder() + "/Files/Lang/English.lng");
        }
        row.make(bed);
        WriteBytes(SettingsPath(bed), "3\r\nBad.lng\r\n");

        Main(bed.program());

        Form1& form = bed.program().form1();
        EXPECT_TRUE(form.visible);
        EXPECT_EQ(form.Combo1.listIndex, 3);
        const std::string bad = bed.ProgramFolder() + "/Files/Lang/Bad.lng";
        if (row.english) {
            EXPECT_EQ(bed.program().LangFile, "English.lng");
            EXPECT_EQ(form.mnuFile.caption, ShippedText("English.lng", 1));
            EXPECT_EQ(form.Label9.caption, ShippedText("English.lng", 42));
            ExpectMessages(bed.desktop.messages,
                           {{ShippedText("English.lng", 91) + "\r" + bad, 0x30, ShippedText("English.lng", 21)}});
            EXPECT_EQ(ReadBytes(SettingsPath(bed)), "3\r\nEnglish.lng\r\n");
        } else {
            EXPECT_EQ(bed.program().LangFile, "");
            EXPECT_EQ(form.Combo1.items, std::vector<std::string>(9));
            ExpectMessages(bed.desktop.messages, {{"\r" + bad, 0x30, ""}});
            EXPECT_EQ(ReadBytes(SettingsPath(bed)), "3\r\n\r\n");
        }
    }
}

// The settings are written to a new file that replaces the old one only once it is whole on the disk:
// on a full disk the old file stays as it was, and nothing is left beside it.
TEST(StartUp, ASettingsWriteThatFailsLeavesTheOldFileWhole) {
    TestBed bed;
    MountedTmpfs tmpfs(bed.ProgramFolder(), "1m");
    SKIP_UNLESS_MOUNTED(tmpfs);
    fs::permissions(bed.ProgramFolder(), fs::perms(0755));  // a tmpfs starts open to everyone (1777)
    fs::create_directories(bed.ProgramFolder() + "/Files/Lang");
    bed.InstallShippedLanguage("German.lng");
    WriteBytes(SettingsPath(bed), "4\r\nGerman.lng\r\n");
    WriteBytes(SettingsPath(bed) + ".new", "");  // left by an earlier failure
    {
        std::ofstream filler(bed.ProgramFolder() + "/filler", std::ios::binary);
        const std::string block(64 * 1024, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
        }
    }
    SettingsWrites writes(bed.ProgramFolder());

    Main(bed.program());

    Form1& form = bed.program().form1();
    EXPECT_TRUE(form.visible);
    EXPECT_EQ(form.Combo1.listIndex, 4);
    EXPECT_EQ(form.mnuEsci.caption, ShippedText("German.lng", 2));
    EXPECT_TRUE(bed.desktop.messages.empty());
    EXPECT_EQ(ReadBytes(SettingsPath(bed)), "4\r\nGerman.lng\r\n");
    EXPECT_EQ(writes.Count(), 0);
    EXPECT_EQ(FolderEntries(bed.ProgramFolder()), (std::vector<std::string>{"Files", "Scorvane.ini", "filler"}));

    // With room again, the next choice is saved.
    fs::remove(bed.ProgramFolder() + "/filler");
    ASSERT_TRUE(form.Combo1.SetListIndex(2).ok());
    EXPECT_EQ(ReadBytes(SettingsPath(bed)), "2\r\nGerman.lng\r\n");
    EXPECT_EQ(writes.Count(), 1);
}

}  // namespace
}  // namespace scorvane::testing
