// The bytes each pass leaves on disk and the progress shown while it runs, for every method and for the
// file sizes around the small-file limit. A recorder between the program and the file services takes a
// copy of the file when the program opens it and whenever it flushes it under its own name, which happens
// once at the end of every pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "app/Wiring.h"
#include "engine/OneFileWipe.h"
#include "engine/PassPattern.h"
#include "engine/PassWriter.h"
#include "support/ForwardingFileServices.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

class PassRecorder final : public ForwardingFileServices {
public:
    explicit PassRecorder(FileServices& real) : ForwardingFileServices(real) {}

    Program* program = nullptr;
    std::vector<std::string> closes;                    // the file's bytes at the open and at each pass's flush
    std::vector<std::pair<std::string, int>> progress;  // Label8 and the bar width at each write, while shown
    std::vector<std::string> calls;                     // renames and deletions
    std::size_t largestWrite = 0;

    Result<FileHandle> Open(const std::string& path, OpenMode mode) override {
        auto file = ForwardingFileServices::Open(path, mode);
        if (file && mode == OpenMode::ByteAccess) {
            paths_[file.value()] = path;
            closes.push_back(ReadBytes(path));
        }
        return file;
    }
    Result<> Flush(FileHandle file) override {
        auto done = ForwardingFileServices::Flush(file);
        if (const auto it = paths_.find(file); it != paths_.end()) closes.push_back(ReadBytes(it->second));
        return done;
    }
    Result<> WriteTaggedFill(FileHandle file, char fill, std::int64_t count) override {
        NoteProgress();
        return ForwardingFileServices::WriteTaggedFill(file, fill, count);
    }
    Result<> WriteRaw(FileHandle file, std::span<const std::uint8_t> bytes) override {
        NoteProgress();
        largestWrite = std::max(largestWrite, bytes.size());
        return ForwardingFileServices::WriteRaw(file, bytes);
    }
    Result<> Delete(const std::string& path) override {
        calls.push_back("delete " + path);
        return ForwardingFileServices::Delete(path);
    }
    Result<> DeleteIfSame(const std::string& path, const FileIdentity& identity) override {
        calls.push_back("delete " + path);
        return ForwardingFileServices::DeleteIfSame(path, identity);
    }
    Result<> Rename(const std::string& from, const std::string& to) override {
        calls.push_back("rename " + from);
        std::erase_if(paths_, [&](const auto& entry) { return entry.second == from; });
        return ForwardingFileServices::Rename(from, to);
    }

private:
    void NoteProgress() {
        if (program == nullptr || !program->IsDialogLoaded()) return;
        Dialog& dialog = program->dialogUnloaded();
        progress.emplace_back(dialog.Label8.caption, dialog.ImgBar.width);
    }

    std::map<FileHandle, std::string> paths_;
};

// A program over the recorder, with marker texts (Lang[n] == "L<n>") and the main window loaded.
struct TraceBed {
    TestBed bed;
    PassRecorder files{bed.files};
    Program program{Platform{files, bed.desktop, bed.desktop, bed.drives, ProcessFacts{},
                             RandomStream::FromSeed(RandomStream::Seed{3, 1, 4, 1, 5}), [] { return std::string(); }}};
    std::string path = bed.Work("f.bin");

    explicit TraceBed(std::int64_t length) {
        WireHandlers(program);
        files.program = &program;
        for (std::size_t n = 0; n < program.Lang.size(); ++n) program.Lang[n] = "L" + std::to_string(n);
        program.form1();
        bed.desktop.events.clear();
        WriteBytes(path, std::string(static_cast<std::size_t>(length), '\xC3'));
    }
};

// What a pass writes: '0', '1' or ' ' repeated as tagged texts, '?' a random character per write,
// 'R' random bytes, 'D' random digits, 'C' the 3-byte cycle (empty: random) of a 35-pass step.
struct PassStep {
    char what;
    int label = 0;
    std::vector<int> cycle = {};
};
struct Plan {
    int method;
    std::vector<PassStep> passes;
};

std::vector<PassStep> GutmannPasses() {
    const std::vector<int> drawn, c7 = {0x92, 0x49, 0x24}, c8 = {0x49, 0x24, 0x92}, c9 = {0x24, 0x92, 0x49};
    std::vector<std::vector<int>> cycles = {drawn, drawn, drawn, drawn, {0x55}, {0xAA}, c7, c8, c9};
    for (int value = 0x00; value <= 0xFF; value += 0x11) cycles.push_back({value});
    cycles.insert(cycles.end(), {c7, c8, c9, {0x6D, 0xB6, 0xDB}, {0xB6, 0xDB, 0x6D}, {0xDB, 0x6D, 0xB6}});
    cycles.insert(cycles.end(), 4, drawn);  // empty: random bytes
    std::vector<PassStep> passes;
    for (std::size_t p = 0; p < cycles.size(); ++p) passes.push_back({'C', static_cast<int>(p) + 1, cycles[p]});
    return passes;
}

const std::vector<Plan>& Plans() {
    static const std::vector<Plan> plans = {
        {0, {{'?'}}},
        {1, {{'0'}}},
        {2, {{'R'}}},
        {3, {{'0'}, {'R'}}},
        {4, {{'0'}, {'1'}, {'R'}}},
        {5, {{'0', 1}, {'0', 2}, {'0', 3}, {'1', 4}, {'1', 5}, {'1', 6}, {'R', 7}}},
        {6, {{'0', 1}, {'1', 2}, {'0', 3}, {'1', 4}, {'0', 5}, {'1', 6}, {'R'}}},
        {7, {{' ', 1}, {' ', 2}, {'D', 3}, {'D', 4}, {'D', 5}, {'D', 6}, {'D', 7}}},
        {8, GutmannPasses()},
        {-1, {{'?'}}},  // no entry chosen: wiped as method 0
        {9, {{'?'}}},
    };
    return plans;
}

// Expected bytes: 0..255 exactly, or one of these wildcards.
constexpr int kAnyFill = -1;  // any character but 0x00
constexpr int kAnyByte = -2;
constexpr int kDigit = -3;
using Image = std::vector<int>;

void Put(Image& image, std::int64_t at, const Image& bytes) {
    const auto start = static_cast<std::size_t>(at);
    if (image.size() < start + bytes.size()) image.resize(start + bytes.size());
    std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(start));
}

Image Tagged(std::int64_t count, int fill) {
    const auto field = std::min<std::int64_t>(count, 0xFFFF);
    Image bytes = {0x08, 0x00, static_cast<int>(field & 0xFF), static_cast<int>(field >> 8)};
    bytes.insert(bytes.end(), static_cast<std::size_t>(count), fill);
    return bytes;
}

// The documented write positions (counted from 0 here): tagged writes at 0, c*i-2 and 100c-4; raw chunks
// that together cover the file's L bytes (L+1 on the small-file path).
void ApplyPass(Image& image, std::int64_t length, const PassStep& pass) {
    const int fill = pass.what == '?' ? kAnyFill : static_cast<unsigned char>(pass.what);
    if (pass.what == 'C') {
        Image bytes(static_cast<std::size_t>(length), kAnyByte);
        for (std::size_t k = 0; k < bytes.size() && !pass.cycle.empty(); ++k) {
            bytes[k] = pass.cycle[k % pass.cycle.size()];
        }
        Put(image, 0, bytes);
    } else if (pass.what == 'R' || pass.what == 'D') {
        Put(image, 0,
            Image(static_cast<std::size_t>(length < 1000 ? length + 1 : length), pass.what == 'R' ? kAnyByte : kDigit));
    } else if (length < 1000) {
        Put(image, 0, Tagged(length, fill));
    } else {
        const std::int64_t c = length / 100;
        for (std::int64_t i = 0; i < 100; ++i) Put(image, i == 0 ? 0 : c * i - 2, Tagged(c, fill));
        Put(image, 100 * c - 4, Tagged(length - 100 * c, fill));
    }
}

Image ToImage(const std::string& bytes) { return Image(bytes.begin(), bytes.end()); }

// Compares a pass's bytes with the expected image; `before` is the file before the pass: random bytes
// that equal it too often betray positions the pass skipped.
void ExpectPass(const std::string& actual, const Image& expected, const std::string& before) {
    ASSERT_EQ(actual.size(), expected.size());
    std::size_t randomBytes = 0, unchanged = 0;
    for (std::size_t k = 0; k < actual.size(); ++k) {
        const int got = static_cast<unsigned char>(actual[k]);
        const int want = expected[k];
        if (want == kAnyByte) {
            ++randomBytes;
            if (k < before.size() && actual[k] == before[k]) ++unchanged;
        } else if (want == kAnyFill) {
            ASSERT_NE(got, 0) << "at " << k;
        } else if (want == kDigit) {
            ASSERT_TRUE(got >= '0' && got <= '9') << "at " << k << ": " << got;
        } else {
            ASSERT_EQ(got, want) << "at " << k;
        }
    }
    if (randomBytes >= 900) {
        EXPECT_LT(unchanged * 25, randomBytes);
    }
}

TEST(PassBytes, EveryMethodWritesItsPassesInPlaceAndLeavesNothing) {
    for (const Plan& plan : Plans()) {
        for (const std::int64_t length : {1, 4, 999, 1000, 1003}) {
            SCOPED_TRACE("method " + std::to_string(plan.method) + ", " + std::to_string(length) + " bytes");
            TraceBed t(length);
            const std::string original = ReadBytes(t.path);
            WipeFile(t.program, t.path, plan.method);

            ASSERT_EQ(t.files.closes.size(), plan.passes.size() + 1);
            EXPECT_EQ(t.files.closes[0], original);
            Image image = ToImage(original);
            for (std::size_t p = 0; p < plan.passes.size(); ++p) {
                SCOPED_TRACE("pass " + std::to_string(p + 1));
                ApplyPass(image, length, plan.passes[p]);
                ExpectPass(t.files.closes[p + 1], image, t.files.closes[p]);
            }
            if (plan.passes[0].what == '?') {
                // A new random character for every write: one on the small-file path, many on the chunked one.
                const std::string& bytes = t.files.closes[1];
                std::set<char> fills;
                for (std::size_t k = 0; k < bytes.size(); ++k) {
                    if (image[k] == kAnyFill) fills.insert(bytes[k]);
                }
                EXPECT_EQ(fills.size() > 1, length >= 1000);
            }
            EXPECT_TRUE(t.bed.desktop.messages.empty());
            EXPECT_TRUE(FolderEntries(t.bed.Work("")).empty());
            ASSERT_EQ(t.files.calls.size(), 2u);
            EXPECT_EQ(t.files.calls[0], "rename " + t.path);
            EXPECT_EQ(t.files.calls[1].substr(0, 7 + t.bed.Work("").size()), "delete " + t.bed.Work(""));
            EXPECT_EQ(t.files.calls[1].size(), 7 + t.bed.Work("").size() + 24);
        }
    }
}

TEST(PassBytes, DocumentedExamples) {
    auto lastPass = [](int method, std::int64_t length, std::size_t pass = 0) {
        TraceBed t(length);
        WipeFile(t.program, t.path, method);
        return pass == 0 ? t.files.closes.at(t.files.closes.size() - 1) : t.files.closes.at(pass);
    };
    EXPECT_EQ(lastPass(1, 999), std::string("\x08\x00\xE7\x03", 4) + std::string(999, '0'));

    std::string thousand(1002, '0');
    for (std::size_t at = 0; at < 990; at = at == 0 ? 8 : at + 10) {
        thousand.replace(at, 4, std::string("\x08\x00\x0A\x00", 4));
    }
    thousand.replace(996, 4, std::string("\x08\x00\x00\x00", 4));
    EXPECT_EQ(lastPass(1, 1000), thousand);

    const std::vector<std::pair<std::size_t, int>> oneByte = {{7, 0x92}, {8, 0x49}, {9, 0x24}, {26, 0x92}, {29, 0x6D}};
    for (const auto& [pass, value] : oneByte) EXPECT_EQ(lastPass(8, 1, pass), std::string(1, static_cast<char>(value)));
    EXPECT_EQ(lastPass(8, 4, 7), "\x92\x49\x24\x92");
}

TEST(PassBytes, ZeroByteFileIsDeletedUnderItsOwnNameWhateverTheMethod) {
    for (int method = -1; method <= 9; ++method) {
        SCOPED_TRACE(method);
        TraceBed t(0);
        WipeFile(t.program, t.path, method);
        EXPECT_FALSE(PathExists(t.path));
        EXPECT_EQ(t.files.calls, std::vector<std::string>{"delete " + t.path});
        EXPECT_EQ(t.files.closes.size(), 1u);
        EXPECT_TRUE(t.bed.desktop.events.empty());
        EXPECT_TRUE(t.bed.desktop.messages.empty());
        EXPECT_FALSE(t.program.IsDialogLoaded());
    }
}

TEST(PassBytes, LargeFilesKeepTheirLayoutThroughBoundedWrites) {
    {
        // Chunks above 65,535 characters: the 2-byte length field holds 65,535.
        const std::int64_t length = 6'553'700;  // c = 65,537, r = 0
        TraceBed t(length);
        Image image = ToImage(ReadBytes(t.path));
        WipeFile(t.program, t.path, 1);
        ApplyPass(image, length, {'0'});
        ExpectPass(t.files.closes.at(1), image, {});
        EXPECT_EQ(t.files.closes[1].substr(65537 * 7 - 2, 4), std::string("\x08\x00\xFF\xFF", 4));
    }
    {
        // Chunks above the gathered writes, written past the page cache from unaligned starts.
        const std::int64_t length = 100 * 262'200 + 17;
        TraceBed t(length);
        WipeFile(t.program, t.path, 3);
        Image image = ToImage(t.files.closes.at(0));
        for (std::size_t p = 0; p < 2; ++p) {
            ApplyPass(image, length, Plans()[3].passes[p]);
            ExpectPass(t.files.closes.at(p + 1), image, t.files.closes[p]);
        }
    }
    {
        // The 35-pass cycles keep their phase from the file's first byte across the write blocks, and
        // past the page cache up to the file's unaligned end.
        const std::int64_t length = 6 * 1024 * 1024 + 7;
        TraceBed t(length);
        WipeFile(t.program, t.path, 8);
        EXPECT_LE(t.files.largestWrite, std::size_t{3 * 1024 * 1024});
        const auto passes = GutmannPasses();
        Image image = ToImage(t.files.closes.at(0));
        for (std::size_t p = 0; p < passes.size(); ++p) {
            SCOPED_TRACE(p + 1);
            ApplyPass(image, length, passes[p]);
            ExpectPass(t.files.closes.at(p + 1), image, t.files.closes[p]);
        }
        EXPECT_TRUE(FolderEntries(t.bed.Work("")).empty());
    }
}

TEST(PassBytes, ALongWriteGoesOutInBlocksWithTheBytesOfOneWriteAndStopsBetweenThem) {
    // A run of 6 MiB and a bit: two blocks and the rest, the pace asked between them.
    const std::int64_t count = 2 * std::int64_t{kWriteBlock} + 1234;
    for (const PassKind kind : {PassKind::Character, PassKind::Byte}) {
        for (const bool stop : {false, true}) {
            SCOPED_TRACE(std::string(kind == PassKind::Character ? "character" : "byte") + (stop ? ", stopped" : ""));
            TestBed bed;
            const std::string path = bed.Work("f.bin");
            WriteBytes(path, "");
            const FileHandle file = bed.files.Open(path, OpenMode::ByteAccess).value();
            CyclePattern pattern({0x92, 0x49, 0x24}, count);
            const PassBytes bytes{kind, [] { return 'Q'; }, &pattern};
            int asked = 0;
            const PassPace pace{{}, [&] { return ++asked < 2 || !stop; }};
            const PassWrite write{3, count};
            bool stopped = false;
            ASSERT_TRUE(WritePass(bed.files, file, {&write, 1}, bytes, pace, stopped));
            ASSERT_TRUE(bed.files.Close(file));
            EXPECT_EQ(stopped, stop);
            EXPECT_EQ(asked, 2);
            Image expected(2, 0);
            if (kind == PassKind::Character) {
                Put(expected, 2, Tagged(count, 'Q'));
            } else {
                for (std::int64_t k = 0; k < count; ++k) expected.push_back(std::array{0x92, 0x49, 0x24}[k % 3]);
            }
            const std::size_t header = kind == PassKind::Character ? 4 : 0;
            if (stop) expected.resize(2 + header + 2 * kWriteBlock);
            ExpectPass(ReadBytes(path), expected, {});
        }
    }
}

std::string Text(int percent, int label) {
    return "Wiping: f.bin...\r" + std::to_string(percent) + "%" + (label ? " (L69 " + std::to_string(label) + ")" : "");
}

TEST(PassProgress, EveryChunkShowsItsPercentagePassLabelAndBar) {
    for (const int method : {1, 2, 5, 6, 7}) {
        for (const std::int64_t length : {1000, 1003, 25'099}) {
            SCOPED_TRACE("method " + std::to_string(method) + ", " + std::to_string(length) + " bytes");
            TraceBed t(length);
            WipeFile(t.program, t.path, method);
            const auto& passes = Plans()[static_cast<std::size_t>(method)].passes;
            std::vector<std::pair<std::string, int>> expected;
            for (const PassStep& pass : passes) {
                // Before chunk i the text shows i% and the bar where chunk i-1 left it; the remainder sees 100%.
                for (int i = 0; i <= 100; ++i) {
                    expected.emplace_back(Text(i, pass.label), i == 0 ? 0 : 6390 * (i - 1) / 99);
                }
            }
            EXPECT_EQ(t.files.progress, expected);
            EXPECT_EQ(t.program.dialog().Label8.caption, Text(100, passes.back().label));
            EXPECT_EQ(t.program.dialog().ImgBar.width, 6390);
        }
    }
}

TEST(PassProgress, TheTextIsBuiltOnlyWhereTheWindowMayBeDrawn) {
    TraceBed t(25'099);
    int asked = 0;
    bool due = false;
    t.bed.desktop.repaintDue = [&] { return due = ++asked % 3 == 0; };
    std::vector<std::string> drawn;
    t.bed.desktop.onEveryYield = [&](int) {
        if (due) drawn.push_back(t.program.dialogUnloaded().Label8.caption);
        due = false;
    };
    WipeFile(t.program, t.path, 1);
    // Asked after chunks 0 to 98, due after every third; the last chunk's text is always built.
    std::vector<std::string> expected, written;
    for (int percent = 3; percent <= 99; percent += 3) expected.push_back(Text(percent, 0));
    EXPECT_EQ(drawn, expected);
    for (int i = 0; i <= 100; ++i) written.push_back(Text(i == 100 ? 100 : i / 3 * 3, 0));
    std::vector<std::string> seen;
    for (const auto& [text, width] : t.files.progress) seen.push_back(text);
    EXPECT_EQ(seen, written);
}

TEST(PassProgress, TheThirtyFivePassMethodShowsEachPassDone) {
    for (const std::int64_t length : {1, 999, 5000}) {
        SCOPED_TRACE(length);
        TraceBed t(length);
        WipeFile(t.program, t.path, 8);
        ASSERT_EQ(t.files.progress.size(), 35u);
        EXPECT_EQ(t.files.progress[0], std::make_pair(std::string("Wiping: f.bin...\r0% (L69 1)"), 0));
        for (int p = 1; p < 35; ++p) {  // after pass 1: 2% and 182 twips
            EXPECT_EQ(t.files.progress[static_cast<std::size_t>(p)],
                      std::make_pair(Text(100 * p / 35, 0) + " (L69 " + std::to_string(p) + ")", 6390 * p / 35));
        }
        EXPECT_EQ(t.program.dialog().Label8.caption, "Wiping: f.bin...\r100% (L69 35)");
        EXPECT_EQ(t.program.dialog().ImgBar.width, 6390);
    }
}

}  // namespace
}  // namespace scorvane::testing
