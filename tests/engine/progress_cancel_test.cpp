// Stopping a wipe from the progress window, the window's own handlers, what the window shows and when
// the program yields, and the name shown in the progress text.
#include <gtest/gtest.h>

#include "engine/OneFileWipe.h"
#include "engine/PassPattern.h"
#include "engine/ProgressWindow.h"
#include "engine/WorkPace.h"
#include "support/Messages.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

enum class Stop { Click, EscOnButton, EscOnWindow };

void RequestStop(Program& program, Stop how) {
    Dialog& dialog = program.dialogUnloaded();
    int key = kEscape;
    if (how == Stop::Click) dialog.CancelButton.onClick();
    if (how == Stop::EscOnButton) dialog.CancelButton.onKeyPress(key);
    if (how == Stop::EscOnWindow) dialog.onKeyPress(key);
}

// A bed with marker texts, the main window loaded and a file of `length` bytes 'x'.
struct StopBed {
    explicit StopBed(std::int64_t length, std::string commandLine = {}) : bed(TestBedOptions{std::move(commandLine)}) {
        bed.UseMarkerTexts();
        // Only the wipe is under test: the main window's load would start the command-line job.
        bed.program().form1Unloaded().onLoad = nullptr;
        bed.program().form1();
        WriteBytes(path, std::string(static_cast<std::size_t>(length), 'x'));
    }
    TestBed bed;
    std::string path = bed.Work("f.bin");
};

// The file after a character pass of `fill` ('#' marks random digits of a byte pass) up to chunk `last`,
// and its remainder when `whole`; positions as the chunked layout writes them.
void Chunks(std::string& file, std::int64_t length, char fill, int last, bool whole) {
    const std::int64_t c = length / 100, r = length - 100 * c;
    auto put = [&file](std::int64_t at, const std::string& bytes) {
        const auto start = static_cast<std::size_t>(at);
        if (file.size() < start + bytes.size()) file.resize(start + bytes.size());
        file.replace(start, bytes.size(), bytes);
    };
    auto tagged = [fill](std::int64_t count) {
        return std::string{'\x08', '\x00', static_cast<char>(count), '\x00'} +
               std::string(static_cast<std::size_t>(count), fill);
    };
    for (int i = 0; i <= last; ++i) {
        const std::int64_t at = i == 0 ? 0 : c * i - 2;
        put(at, fill == '#' ? std::string(static_cast<std::size_t>(c + 1), '#') : tagged(c));
    }
    if (whole && fill == '#') put(100 * c - 1, std::string(static_cast<std::size_t>(r + 1), '#'));
    if (whole && fill != '#') put(100 * c - 4, tagged(r));
}

bool SameWithDigits(const std::string& actual, const std::string& expected) {
    if (actual.size() != expected.size()) return false;
    for (std::size_t k = 0; k < actual.size(); ++k) {
        if (expected[k] == '#' ? (actual[k] < '0' || actual[k] > '9') : actual[k] != expected[k]) return false;
    }
    return true;
}

TEST(WipeStop, AStopDuringAChunkKeepsTheFileWithThePassesWrittenSoFar) {
    struct Row {
        int method;
        std::int64_t length;
        std::string fullPasses;  // fills of the passes before the stopped one
        char fill;               // the stopped pass
        int label, chunk;        // the stop comes at the yield after this chunk (-1: before the first)
        Stop how;
        bool commandLine;
    };
    const Row rows[] = {
        {1, 1000, "", '0', 0, -1, Stop::Click, false},  // at the repaint before chunk 0
        {1, 1003, "", '0', 0, 41, Stop::EscOnButton, false},
        {1, 1250, "", '0', 0, 98, Stop::EscOnWindow, true},
        {5, 1003, "000", '1', 4, 9, Stop::EscOnWindow, false},
        {5, 2000, "00011", '1', 6, 99, Stop::Click, true},  // the remainder's header of pass 5 is overwritten
        {7, 1549, "  ", '#', 3, 99, Stop::Click, false},    // the remainder of the byte pass stays unwritten
        {6, 1003, "01010", '1', 6, 50, Stop::EscOnButton, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("method " + std::to_string(row.method) + ", pass " + std::to_string(row.fullPasses.size() + 1) +
                     ", chunk " + std::to_string(row.chunk));
        StopBed s(row.length, row.commandLine ? "\"x\"" : "");
        Program& program = s.bed.program();
        const std::string trigger = "Wiping: f.bin...\r" + std::to_string(row.chunk + 1) + "%" +
                                    (row.label ? " (L69 " + std::to_string(row.label) + ")" : "");
        int stops = 0;
        s.bed.desktop.onEveryYield = [&](int) {
            if (program.IsDialogLoaded() && program.dialogUnloaded().Label8.caption == trigger && stops++ == 0) {
                RequestStop(program, row.how);
            }
        };
        if (row.commandLine) {
            EXPECT_THROW(WipeFile(program, s.path, row.method), ProgramEnded);
        } else {
            WipeFile(program, s.path, row.method);
        }
        EXPECT_EQ(stops, 1);
        std::string expected(static_cast<std::size_t>(row.length), 'x');
        for (const char fill : row.fullPasses) Chunks(expected, row.length, fill, 99, true);
        Chunks(expected, row.length, row.fill, std::max(row.chunk, 0), false);
        EXPECT_TRUE(SameWithDigits(ReadBytes(s.path), expected));
        EXPECT_EQ(FolderEntries(s.bed.Work("")), std::vector<std::string>{"f.bin"});
        ExpectMessages(s.bed.desktop.messages, {kCancelled});
        EXPECT_FALSE(program.IsDialogLoaded());
        EXPECT_EQ(s.bed.desktop.events.back(), "unload Dialog");
        EXPECT_EQ(program.form1().mousePointer, MousePointer::Default);
        EXPECT_EQ(program.CancelFlag, 1);
        EXPECT_EQ(s.bed.desktop.ends, row.commandLine ? 1 : 0);
    }
}

TEST(WipeStop, TheThirtyFivePassMethodStopsAfterThePassDuringWhichTheStopCame) {
    // Yields of method 8: one before the first pass, then per pass one before and one after its write
    // and one after its progress, so the write of pass p sits between yields 3p-1 and 3p.
    const std::vector<std::pair<int, std::string>> rows = {
        {1, ""}, {7, "\x92\x49\x24\x92\x49"}, {20, "\xAA\xAA\xAA\xAA\xAA"}, {29, "\x6D\xB6\xDB\x6D\xB6"}, {35, ""}};
    for (const auto& [pass, bytes] : rows) {
        for (const bool afterWrite : {false, true}) {
            SCOPED_TRACE("pass " + std::to_string(pass) + (afterWrite ? ", after its write" : ", before its write"));
            StopBed s(5);
            Program& program = s.bed.program();
            std::string shown;
            s.bed.desktop.atYield[3 * pass - (afterWrite ? 0 : 1)] = [&] {
                shown = program.dialogUnloaded().Label8.caption;
                RequestStop(program, Stop::Click);
            };
            WipeFile(program, s.path, 8);
            const int before = pass - 1;
            EXPECT_EQ(shown, before == 0 ? "Wiping: f.bin...\r0% (L69 1)"
                                         : "Wiping: f.bin...\r" + std::to_string(100 * before / 35) + "% (L69 " +
                                               std::to_string(before) + ")");
            const std::string left = ReadBytes(s.path);
            if (bytes.empty()) {
                EXPECT_EQ(left.size(), 5u);
                EXPECT_NE(left, "xxxxx");
            } else {
                EXPECT_EQ(left, bytes);
            }
            ASSERT_EQ(s.bed.desktop.messages.size(), 1u);
            EXPECT_EQ(s.bed.desktop.messages[0].text, "L27");
            EXPECT_FALSE(program.IsDialogLoaded());
            EXPECT_EQ(program.CancelFlag, 1);
        }
    }
}

TEST(WipeStop, TheThirtyFivePassMethodStopsWithinAPassOfALargeFile) {
    // Three blocks per pass; each reading of the clock a slice later, so the pass yields between blocks.
    const std::size_t length = 2 * kWriteBlock + 7;
    StopBed s(static_cast<std::int64_t>(length));
    Program& program = s.bed.program();
    s.bed.desktop.clockStep = 2 * WorkPace::kSliceSeconds;
    // Pass 6 (0xAA) follows "14% (pass 5)": its progress yield, the yield before its write, then the first
    // yield between its blocks.
    int seen = 0;
    s.bed.desktop.onEveryYield = [&](int) {
        if (program.IsDialogLoaded() && program.dialogUnloaded().Label8.caption == "Wiping: f.bin...\r14% (L69 5)" &&
            ++seen == 3) {
            RequestStop(program, Stop::Click);
        }
    };
    WipeFile(program, s.path, 8);
    EXPECT_EQ(ReadBytes(s.path), std::string(kWriteBlock, '\xAA') + std::string(length - kWriteBlock, '\x55'));
    ExpectMessages(s.bed.desktop.messages, {kCancelled});
    EXPECT_FALSE(program.IsDialogLoaded());
    EXPECT_EQ(program.CancelFlag, 1);
}

TEST(WipeStop, AStopRequestedBeforeTheCallTouchesNothing) {
    for (const int method : {1, 2, 8}) {
        for (const std::int64_t length : {0, 10, 5000}) {
            StopBed s(length);
            s.bed.desktop.events.clear();
            s.bed.program().CancelFlag = 1;
            WipeFile(s.bed.program(), s.path, method);
            EXPECT_TRUE(PathExists(s.path));
            EXPECT_EQ(ReadBytes(s.path), std::string(static_cast<std::size_t>(length), 'x'));
            EXPECT_TRUE(s.bed.desktop.events.empty());
            EXPECT_TRUE(s.bed.desktop.messages.empty());
            EXPECT_EQ(s.bed.desktop.yields, 0);
            EXPECT_EQ(s.bed.program().CancelFlag, 1);
        }
    }
}

TEST(WipeStop, AStopDuringASmallFileIsSeenOnlyByTheCaller) {
    // The small-file path polls nothing: the file is wiped to the end and the flag waits for the caller.
    StopBed s(500);
    s.bed.desktop.atYield[1] = [&] { RequestStop(s.bed.program(), Stop::Click); };
    WipeFile(s.bed.program(), s.path, 3);
    EXPECT_TRUE(FolderEntries(s.bed.Work("")).empty());
    EXPECT_TRUE(s.bed.desktop.messages.empty());
    EXPECT_EQ(s.bed.program().CancelFlag, 1);
}

TEST(ProgressWindow, WindowEventsAndYieldsOfAWipe) {
    struct Row {
        int method;
        std::int64_t length;
        std::vector<std::string> events;
        int yields;
    };
    // A chunked pass yields after chunks 1 to 99; the "0" pass of methods 1, 3 and 4 also before chunk 0.
    const std::string show = "show Dialog", hide = "hide Form1", refresh = "refresh Dialog";
    std::vector<std::string> gutmann = {show, hide, refresh};
    gutmann.insert(gutmann.end(), 35, refresh);
    const Row rows[] = {
        {4, 999, {}, 2},  // only the byte pass's write yields, before and after
        {8, 3, gutmann, 1 + 35 * 3},
        {1, 1000, {show, refresh, hide}, 1 + 99},
        {4, 1000, {show, refresh, hide, show, hide, show, hide}, 1 + 3 * 99},
        {6, 4321, {show, hide, show, hide, show, hide, show, hide, show, hide, show, hide, show, hide}, 7 * 99},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("method " + std::to_string(row.method) + ", " + std::to_string(row.length) + " bytes");
        StopBed s(row.length);
        s.bed.program().form1().Show();
        s.bed.desktop.events.clear();
        WipeFile(s.bed.program(), s.path, row.method);
        EXPECT_EQ(s.bed.desktop.events, row.events);
        EXPECT_EQ(s.bed.desktop.yields, row.yields);
        EXPECT_TRUE(FolderEntries(s.bed.Work("")).empty());
        const bool shown = row.length >= 1000 || row.method == 8;
        EXPECT_EQ(s.bed.program().IsDialogLoaded(), shown);
        EXPECT_EQ(s.bed.program().form1().visible, !shown);  // the callers show the main window again
    }
}

TEST(ProgressWindow, LoadResetsTheFlagAndOnlyEscOrCancelRequestAStop) {
    TestBed bed;
    bed.UseMarkerTexts();
    Program& program = bed.program();
    program.CancelFlag = 1;
    Dialog& dialog = program.dialog();
    EXPECT_EQ(program.CancelFlag, 0);
    EXPECT_EQ(dialog.Label8.caption, "L61");
    EXPECT_EQ(dialog.Label9.caption, "L62\rL65");
    EXPECT_EQ(dialog.CancelButton.caption, "&L63");
    EXPECT_EQ(dialog.ImgBar.width, 0);
    EXPECT_EQ(dialog.mousePointer, MousePointer::Hourglass);

    struct Row {
        bool onButton;
        int key;
    };
    for (const Row row :
         {Row{true, 27}, Row{false, 27}, Row{true, 13}, Row{false, 13}, Row{true, 'c'}, Row{false, 0}}) {
        SCOPED_TRACE(std::string(row.onButton ? "button, key " : "window, key ") + std::to_string(row.key));
        program.CancelFlag = 0;
        dialog.Label9.caption = "L62\rL65";
        int key = row.key;
        (row.onButton ? dialog.CancelButton.onKeyPress : dialog.onKeyPress)(key);
        EXPECT_EQ(key, row.key);
        EXPECT_EQ(program.CancelFlag, row.key == 27 ? 1 : 0);
        EXPECT_EQ(dialog.Label9.caption, row.key == 27 ? "L64" : "L62\rL65");
    }

    program.CancelFlag = 0;
    bed.desktop.events.clear();
    dialog.CancelButton.onClick();
    dialog.CancelButton.onClick();
    EXPECT_EQ(program.CancelFlag, 1);
    EXPECT_EQ(dialog.Label9.caption, "L64");
    EXPECT_TRUE(bed.desktop.events.empty());
    EXPECT_TRUE(bed.desktop.messages.empty());
}

TEST(ProgressWindow, DisplayNameIsTheFirstFortyCharactersAndDots) {
    const std::string forty = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"/d/" + forty + "EFGH.txt", forty + "..."},
        {"/d/" + forty, forty + "..."},
        {"/d/abc" + std::string(37, ' ') + "xyz", "abc..."},
        {"/d/e/short.txt", "short.txt..."},
        {"/d/trail   ", "trail..."},
        {"/d/", "..."},
        {"name.txt", ""},
        {"", ""},
        {"/d/" + std::string(45, 'x') + "/f", "f..."},
        {"/d/" + std::string(50, '\xFF'), std::string(40, '\xFF') + "..."},  // names are bytes
        {"/d/" + std::string(39, 'a') + "\xC3\xA9\xC3\xA9",
         std::string(39, 'a') + "\xC3\xA9..."},  // characters, not bytes
    };
    for (const auto& [path, shown] : rows) EXPECT_EQ(DisplayName(path), shown) << path;
}

}  // namespace
}  // namespace scorvane::testing
