// A start with a command line: the method confirmed in Form2, then the one folder or the list of
// paths wiped, and the program's end; the grammar of quotes and blanks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <tuple>

#include "startup/Settings.h"
#include "support/Messages.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A program started with `commandLine` and marker texts. The paths it names live in `files`, made
// before the program; Form2 is confirmed unless the test says otherwise.
struct JobBed {
    explicit JobBed(const std::string& commandLine, const std::string& settings = "0\r\nX.lng\r\n")
        : bed(TestBedOptions{commandLine}) {
        bed.UseMarkerTexts();
        bed.InstallMarkerLanguage("X.lng");
        WriteBytes(bed.ProgramFolder() + "/Scorvane.ini", settings);
        bed.desktop.modal["Form2"] = [this](Window& window) {
            auto& confirmation = static_cast<Form2&>(window);
            if (inForm2) inForm2(confirmation);
            if (confirmation.IsLoaded()) confirmation.Command2.onClick();
        };
    }
    // True when the program ended.
    bool Start() {
        try {
            Main(bed.program());
        } catch (const ProgramEnded&) {
            return true;
        }
        return false;
    }
    bool Shown(const std::string& event) const {
        return std::find(bed.desktop.events.begin(), bed.desktop.events.end(), event) != bed.desktop.events.end();
    }

    TestBed bed;
    std::function<void(Form2&)> inForm2;
};

struct Files {
    Files() { fs::create_directories(dir.path() + "/folder/sub"); }
    std::string Make(const std::string& name, std::size_t length = 10) {
        WriteBytes(Path(name), std::string(length, 'x'));
        return Path(name);
    }
    std::string Path(const std::string& name) const { return dir.path() + "/" + name; }
    TempDir dir;
};

TEST(CommandLine, ABlankCommandLineStartsAsUsual) {
    for (const char* commandLine : {"", "   "}) {
        JobBed job(commandLine);
        EXPECT_FALSE(job.Start());
        EXPECT_TRUE(job.bed.program().form1().visible);
        EXPECT_FALSE(job.Shown("modal Form2"));
        EXPECT_EQ(job.bed.program().form1().caption, "Scorvane 2.5.0.15");
        EXPECT_TRUE(job.bed.desktop.messages.empty());
    }
}

TEST(CommandLine, OneFolderGoesToTheFolderCommandWithoutAQuestion) {
    for (const bool quoted : {true, false}) {
        SCOPED_TRACE(quoted ? "quoted" : "unquoted, with a trailing separator");
        Files files;
        files.Make("folder/sub/a.bin", 1500);
        const std::string folder = files.Path("folder") + (quoted ? "" : "/");
        JobBed job(quoted ? Quoted(folder) : folder);
        EXPECT_TRUE(job.Start());

        Form1& form = job.bed.program().form1Unloaded();
        EXPECT_TRUE(form.StartedWithFolder);
        EXPECT_EQ(form.FolderToWipe, folder);
        EXPECT_FALSE(PathExists(files.Path("folder")));
        EXPECT_TRUE(job.bed.desktop.messages.empty());
        EXPECT_TRUE(job.Shown("modal Form2"));
        EXPECT_FALSE(job.Shown("show Form1"));
    }
}

TEST(CommandLine, AListIsAskedAboutOnceThenEveryEntryIsWipedAndTheProgramEnds) {
    Files files;
    const std::vector<std::string> paths{files.Make("a.bin"), files.Make("b b.bin"), files.Make("c.bin")};
    JobBed job(Quoted(paths[0]) + " " + Quoted(paths[1]) + " " + Quoted(paths[2]));
    job.inForm2 = [&](Form2&) { job.bed.program().form1Unloaded().Check1.value = 1; };
    std::vector<Twips> widths;
    job.bed.desktop.onEveryYield = [&](int) { widths.push_back(job.bed.program().dialogUnloaded().ImgBar.width); };
    job.bed.desktop.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(job.Start());

    for (const auto& path : paths) EXPECT_FALSE(PathExists(path)) << path;
    EXPECT_EQ(widths, (std::vector<Twips>{0, 3195, 6390}));  // set before each entry
    // No completion message and no shutdown, although the option is ticked.
    ExpectMessages(job.bed.desktop.messages, {kQuestion});
    EXPECT_TRUE(job.bed.desktop.commandLines.empty());
    EXPECT_TRUE(job.Shown("unload Dialog"));
    EXPECT_FALSE(job.Shown("show Form1"));
}

TEST(CommandLine, AFolderInAListGoesToTheFolderCommandAndTheListGoesOn) {
    Files files;
    files.Make("folder/sub/a.bin", 1500);
    const auto last = files.Make("b.bin");
    // The entry ending in the separator loses it.
    JobBed job(Quoted(files.Path("folder") + "/") + " " + Quoted(last));
    job.bed.desktop.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(job.Start());

    EXPECT_FALSE(PathExists(files.Path("folder")));
    EXPECT_FALSE(PathExists(last));
    ExpectMessages(job.bed.desktop.messages, {kQuestion});
    EXPECT_TRUE(job.bed.desktop.pickerTitles.empty());
}

// A job that leaves anything it was given ends with the message that names what remains, after one box
// per failure number, and with exit status 1; a job that destroyed everything ends with status 0.
TEST(CommandLine, AJobNamesWhatRemainsAndEndsWithStatusOne) {
    for (const bool failing : {false, true}) {
        SCOPED_TRACE(failing ? "a list whose files cannot be written" : "a list wiped whole");
        Files files;
        const std::vector<std::string> paths{files.Make("a.bin"), files.Make("b.bin"), files.Make("c.bin")};
        JobBed job(Quoted(paths[0]) + " " + Quoted(paths[1]) + " " + Quoted(paths[2]));
        if (failing) job.inForm2 = [&](Form2&) { job.bed.files.FailOperation("WriteTaggedFill", EIO); };
        job.bed.desktop.answers = {MessageAnswer::Yes};
        EXPECT_TRUE(job.Start());
        if (failing) {
            ExpectMessages(job.bed.desktop.messages,
                           {kQuestion,
                            {"Device I/O error (57)\r" + paths[0], 0x30, "L28"},
                            {"L88 3\r\r" + paths[0] + "\r" + paths[1] + "\r" + paths[2], 0x30, "L28"}});
        } else {
            ExpectMessages(job.bed.desktop.messages, {kQuestion});
        }
        EXPECT_EQ(job.bed.desktop.endStatus, failing ? 1 : 0);
    }

    // The one folder of a command line: a file with another name stays, and so does its folder.
    Files files;
    const std::string kept = files.Make("folder/sub/kept.bin");
    files.Make("folder/other.bin");
    ASSERT_EQ(::link(kept.c_str(), files.Path("other-name").c_str()), 0);
    JobBed job(Quoted(files.Path("folder")));
    EXPECT_TRUE(job.Start());
    ExpectMessages(job.bed.desktop.messages,
                   {{"L87\r" + kept, 0x30, "L28"},
                    {"L88 3\r\r" + kept + "\r" + files.Path("folder/sub") + "\r" + files.Path("folder"), 0x30, "L28"}});
    EXPECT_EQ(job.bed.desktop.endStatus, 1);
    EXPECT_EQ(FolderEntries(files.Path("folder")), std::vector<std::string>{"sub"});
}

TEST(CommandLine, EntriesThatNameNothingAndTheAnswerNo) {
    Files files;
    const auto a = files.Make("a.bin");
    const auto b = files.Make("b.bin");
    const auto blanks = files.Make("with blanks.bin");
    struct Row {
        const char* what;
        std::string commandLine;
        int answer;
        std::vector<std::string> kept, wiped;
    };
    const Row rows[] = {
        {"a quoted path next to an unquoted one: one entry", Quoted(a) + " " + b, MessageAnswer::Yes, {a, b}, {}},
        {"two blanks between the paths: one entry", Quoted(a) + "  " + Quoted(b), MessageAnswer::Yes, {a, b}, {}},
        {"No", Quoted(a) + " " + Quoted(b), MessageAnswer::No, {a, b}, {}},
        {"one path with blanks, without quotes", blanks, MessageAnswer::Yes, {}, {blanks}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        JobBed job(row.commandLine);
        job.bed.desktop.answers = {row.answer};
        EXPECT_TRUE(job.Start());
        for (const auto& path : row.kept) EXPECT_EQ(ReadBytes(path), std::string(10, 'x')) << path;
        for (const auto& path : row.wiped) EXPECT_FALSE(PathExists(path)) << path;
        ExpectMessages(job.bed.desktop.messages, {kQuestion});
        EXPECT_EQ(job.Shown("show Dialog"), row.answer == MessageAnswer::Yes);
        EXPECT_FALSE(job.Shown("show Form1"));
    }
}

TEST(CommandLine, Form2ShowsTheStoredMethodAndCancelOrClosingEndsBeforeAnything) {
    for (const bool byButton : {true, false}) {
        SCOPED_TRACE(byButton ? "Cancel" : "closed");
        Files files;
        const auto file = files.Make("a.bin");
        JobBed job(Quoted(file), "7\r\nX.lng\r\n");
        job.inForm2 = [&](Form2& window) {
            EXPECT_TRUE(window.IsModal());
            EXPECT_EQ(window.caption, "Scorvane 2.5.0.15");
            EXPECT_EQ(std::tuple(window.Command1.caption, window.Command2.caption, window.Label1.caption),
                      std::tuple("L63", "L3", "L34"));
            ASSERT_EQ(window.Combo1.items.size(), 9u);
            EXPECT_EQ(window.Combo1.items[8], "L51");
            EXPECT_EQ(window.Combo1.listIndex, 7);
            EXPECT_EQ(window.Label9.caption, "L50");
            EXPECT_EQ(window.Label9.font.size, 15);

            ASSERT_TRUE(window.Combo1.SetListIndex(8).ok());  // the 35-pass method
            EXPECT_EQ(window.Label9.caption, "L52");
            EXPECT_EQ(window.Label9.font.size, 10);
            const Label& shadow = window.Label3;
            EXPECT_EQ(
                std::tuple(shadow.left, shadow.top, shadow.width, shadow.height, shadow.font.size, shadow.caption),
                std::tuple(490, 1555, 5475, 2580, 10.0, std::string("L52")));
            EXPECT_EQ(job.bed.program().form1Unloaded().Combo1.listIndex, 8);
            if (byButton) {
                window.Command1.onClick();
            } else {
                window.Unload();
            }
        };
        EXPECT_TRUE(job.Start());

        EXPECT_FALSE(job.bed.program().MethodConfirmed);
        EXPECT_TRUE(job.bed.desktop.messages.empty());
        EXPECT_EQ(ReadBytes(file), std::string(10, 'x'));
        // The choice was passed on at once, whatever the answer.
        EXPECT_EQ(ReadBytes(job.bed.ProgramFolder() + "/Scorvane.ini"), "8\r\nX.lng\r\n");
        EXPECT_EQ(job.bed.program().form1Unloaded().StoredMethodIndex(), "8");
        EXPECT_FALSE(job.Shown("show Form1"));
    }
}

TEST(CommandLine, TheMethodConfirmedInForm2IsUsedAndSaved) {
    Files files;
    const auto file = files.Make("a.bin", 1500);
    JobBed job(Quoted(file));
    job.inForm2 = [](Form2& window) { ASSERT_TRUE(window.Combo1.SetListIndex(5).ok()); };
    std::vector<std::string> statuses;
    job.bed.desktop.onEveryYield = [&](int) { statuses.push_back(job.bed.program().dialogUnloaded().Label8.caption); };
    job.bed.desktop.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(job.Start());

    EXPECT_TRUE(job.bed.program().MethodConfirmed);
    EXPECT_FALSE(PathExists(file));
    // Method 5 labels its passes.
    ASSERT_FALSE(statuses.empty());
    EXPECT_NE(statuses.front().find("(L69 1)"), std::string::npos) << statuses.front();
    EXPECT_NE(statuses.back().find("(L69 7)"), std::string::npos) << statuses.back();
    EXPECT_EQ(ReadBytes(job.bed.ProgramFolder() + "/Scorvane.ini"), "5\r\nX.lng\r\n");
    ExpectMessages(job.bed.desktop.messages, {kQuestion});
}

}  // namespace
}  // namespace scorvane::testing
