// Files and folders dropped on the main window: which drops are taken, the question, the order of the
// items, the bar, a stop, the end of the run, and the filesystem root, which is never handed over.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/Wiring.h"
#include "startup/ApplyLanguage.h"
#include "startup/Settings.h"
#include "support/ForwardingFileServices.h"
#include "support/Messages.h"
#include "support/TestBed.h"
#include "ui/DropHandling.h"

namespace scorvane::testing {
namespace {

namespace fs = std::filesystem;

using DropHook = std::function<void(const std::vector<std::string>&, int&)>;

// Unlike the commands' box, the drop's has no blanks after the text.
const MessageRecord kDropCompleted{"L17", 0x40, "L18"};
const MessageRecord kRootRefused{"L86", 0x30, "L14"};

// A started main window with marker texts and method 1.
struct DropBed {
    explicit DropBed(std::string commandLine = {}) : bed(TestBedOptions{std::move(commandLine)}) {
        bed.UseMarkerTexts();
        if (!bed.program().facts().commandLine.empty()) form.onLoad = nullptr;
        form.StoredMethodIndex() = "1";
        ApplyLanguage(bed.program());
        form.Show();
    }
    std::string File(const std::string& name, std::size_t length) {
        WriteBytes(bed.Work(name), std::string(length, 'x'));
        return bed.Work(name);
    }
    int Drop(const DropHook& hook, const std::vector<std::string>& paths, int effect = 7) {
        hook(paths, effect);
        return effect;
    }

    TestBed bed;
    Form1& form = bed.program().form1Unloaded();
};

TEST(Drop, OnlyTheDropOfAllThreeEffectsIsTaken) {
    for (const int effect : {0, 1, 2, 3, 4, 5, 6}) {
        DropBed d;
        d.form.Check1.value = 1;
        const auto file = d.File("a.bin", 10);
        EXPECT_EQ(d.Drop(d.form.onOLEDragDrop, {file}, effect), effect);
        EXPECT_EQ(ReadBytes(file), std::string(10, 'x'));
        EXPECT_TRUE(d.bed.desktop.messages.empty());
        EXPECT_TRUE(d.form.visible);
        EXPECT_FALSE(d.bed.program().IsDialogLoaded());
        EXPECT_TRUE(d.bed.desktop.commandLines.empty());
    }
    DropBed d;
    const auto file = d.File("a.bin", 10);
    d.bed.desktop.answers = {MessageAnswer::No};
    d.Drop(d.form.Label9.onOLEDragDrop, {file});
    ExpectMessages(d.bed.desktop.messages, {kQuestion});
    EXPECT_TRUE(d.form.visible);
    EXPECT_FALSE(d.bed.program().IsDialogLoaded());
    EXPECT_EQ(d.form.mousePointer, MousePointer::Default);
    EXPECT_EQ(ReadBytes(file), std::string(10, 'x'));
}

TEST(Drop, EveryDropTargetWipesTheItemsWithTheBarShowingItemIOfN) {
    DropBed d;
    Form1& form = d.form;
    for (DropHook* target : {&form.onOLEDragDrop, &form.Label1.onOLEDragDrop, &form.Label4.onOLEDragDrop,
                             &form.Label9.onOLEDragDrop, &form.Combo1.onOLEDragDrop}) {
        d.bed.desktop.messages.clear();
        d.bed.desktop.yields = 0;
        const std::vector<std::string> files{d.File("a.bin", 10), d.File("b.bin", 10), d.File("c.bin", 10)};
        std::vector<Twips> widths;
        d.bed.desktop.onEveryYield = [&](int number) {
            EXPECT_EQ(form.mousePointer, MousePointer::Hourglass);
            EXPECT_TRUE(d.bed.program().dialogUnloaded().Label9.visible);
            if (number % 2 == 0) widths.push_back(d.bed.program().dialogUnloaded().ImgBar.width);
        };
        d.bed.desktop.answers = {MessageAnswer::Yes};
        EXPECT_EQ(d.Drop(*target, files), 7);

        for (const auto& file : files) EXPECT_FALSE(PathExists(file)) << file;
        EXPECT_EQ(widths, (std::vector<Twips>{2130, 4260, 6390}));  // after each item
        EXPECT_EQ(form.ProgressTotal, FixedPoint4::FromDouble(3));
        ExpectMessages(d.bed.desktop.messages, {kQuestion, kDropCompleted});
        EXPECT_FALSE(d.bed.program().IsDialogLoaded());
        EXPECT_TRUE(form.visible);
        EXPECT_EQ(form.mousePointer, MousePointer::Default);
    }
}

TEST(Drop, FilesAndAFolderInTheOrderOfTheDrop) {
    DropBed d;
    const auto first = d.File("f1.bin", 1500);
    fs::create_directories(d.bed.Work("folder/sub"));
    WriteBytes(d.bed.Work("folder/sub/inner.bin"), std::string(1500, 'y'));
    const auto last = d.File("f2.bin", 1500);
    std::vector<std::string> order;
    d.bed.desktop.onEveryYield = [&](int) {
        const std::string& status = d.bed.program().dialogUnloaded().Label8.caption;
        const auto name = status.substr(0, status.find("..."));
        if (name.starts_with("Wiping: ") && (order.empty() || order.back() != name)) order.push_back(name);
    };
    d.bed.desktop.answers = {MessageAnswer::Yes};
    d.Drop(d.form.onOLEDragDrop, {first, d.bed.Work("folder"), last});

    // The folder goes through the destroy-folder command (its temporary file included), with no
    // question, picker or message of its own.
    EXPECT_EQ(order,
              (std::vector<std::string>{"Wiping: f1.bin", "Wiping: inner.bin", "Wiping: temp.tmp", "Wiping: f2.bin"}));
    EXPECT_TRUE(FolderEntries(d.bed.Work("")).empty());
    EXPECT_TRUE(d.bed.desktop.pickerTitles.empty());
    EXPECT_TRUE(d.form.FolderToWipe.empty());
    ExpectMessages(d.bed.desktop.messages, {kQuestion, kDropCompleted});
}

TEST(Drop, AStopDuringTheSecondOfThreeFilesLeavesTheThird) {
    DropBed d;
    d.form.Check1.value = 1;
    const std::vector<std::string> files{d.File("f1.bin", 1500), d.File("f2.bin", 1500), d.File("f3.bin", 1500)};
    d.bed.desktop.onEveryYield = [&](int) {
        Program& program = d.bed.program();
        if (program.dialogUnloaded().Label8.caption.starts_with("Wiping: f2.bin") && program.CancelFlag == 0) {
            program.dialogUnloaded().CancelButton.onClick();
        }
    };
    d.bed.desktop.answers = {MessageAnswer::Yes};
    d.Drop(d.form.Label4.onOLEDragDrop, files);

    EXPECT_FALSE(PathExists(files[0]));
    EXPECT_TRUE(PathExists(files[1]));
    EXPECT_EQ(ReadBytes(files[2]), std::string(1500, 'x'));
    ExpectMessages(d.bed.desktop.messages, {kQuestion, kCancelled});
    EXPECT_TRUE(d.bed.desktop.commandLines.empty());
    EXPECT_FALSE(d.bed.program().IsDialogLoaded());
    EXPECT_TRUE(d.form.visible);
}

TEST(Drop, ACompletedDropShutsDownWithTheOptionOrEndsAProgramStartedWithACommandLine) {
    DropBed ticked;
    ticked.form.Check1.value = 1;
    ticked.bed.desktop.answers = {MessageAnswer::Yes};
    ticked.Drop(ticked.form.onOLEDragDrop, {ticked.File("a.bin", 10)});
    ExpectMessages(ticked.bed.desktop.messages, {kQuestion});
    EXPECT_EQ(ticked.bed.desktop.commandLines, std::vector<std::string>{"systemctl poweroff"});
    EXPECT_TRUE(ticked.form.visible);

    DropBed started("\"somewhere\"");
    const auto file = started.File("a.bin", 10);
    started.bed.desktop.answers = {MessageAnswer::Yes};
    EXPECT_THROW(started.Drop(started.form.onOLEDragDrop, {file}), ProgramEnded);
    EXPECT_FALSE(PathExists(file));
    ExpectMessages(started.bed.desktop.messages, {kQuestion});
}

// The real file services, refusing every change outside one folder: should the root ever be handed
// over by mistake, nothing outside the test's own folder could be touched.
class JailedFiles final : public ForwardingFileServices {
public:
    explicit JailedFiles(std::string jail) : jail_(std::move(jail) + "/") {}

    Result<FileHandle> Open(const std::string& p, OpenMode m) override {
        if (m != OpenMode::TextInput && !Inside(p)) return Refused();
        return ForwardingFileServices::Open(p, m);
    }
    Result<> Delete(const std::string& p) override { return Inside(p) ? ForwardingFileServices::Delete(p) : Refused(); }
    Result<> Rename(const std::string& a, const std::string& b) override {
        return Inside(a) && Inside(b) ? ForwardingFileServices::Rename(a, b) : Refused();
    }
    Result<> MakeFolder(const std::string& p) override {
        return Inside(p) ? ForwardingFileServices::MakeFolder(p) : Refused();
    }
    Result<> RemoveFolder(const std::string& p) override {
        return Inside(p) ? ForwardingFileServices::RemoveFolder(p) : Refused();
    }
    Result<> SetAttributes(const std::string& p, std::uint32_t a) override {
        return Inside(p) ? ForwardingFileServices::SetAttributes(p, a) : Refused();
    }
    Result<FolderListing> ListFolder(const std::string& p) override {
        return Inside(p) ? ForwardingFileServices::ListFolder(p) : Result<FolderListing>(Refused());
    }
    Result<FolderListing> ListFolderPaced(const std::string& p, const std::function<bool()>& goOn) override {
        return Inside(p) ? ForwardingFileServices::ListFolderPaced(p, goOn) : Result<FolderListing>(Refused());
    }

private:
    bool Inside(const std::string& path) const {
        return path.starts_with(jail_) && path.find("/..") == std::string::npos;
    }
    static Failure Refused() { return MakeFailure(FailureNumber::PermissionDenied); }

    std::string jail_;
};

// A program whose file services cannot change anything outside the folder `jail`.
struct JailedBed {
    JailedBed(const std::string& jail, const std::string& commandLine) : files(jail) {
        fs::create_directories(jail + "/program/Files/Lang");
        WriteBytes(jail + "/program/Files/Lang/English.lng", "01=L1\r\n");
        ProcessFacts facts;
        facts.programFolder = jail + "/program";
        facts.commandLine = commandLine;
        program = std::make_unique<Program>(
            Platform{files, desktop, desktop, drives, facts, nullptr, [] { return std::string(); }});
        WireHandlers(*program);
        for (int n = 0; n < Program::kLangSize; ++n)
            program->Lang[static_cast<std::size_t>(n)] = "L" + std::to_string(n);
        desktop.modal["Form2"] = [](Window& window) { static_cast<Form2&>(window).Command2.onClick(); };
    }
    JailedFiles files;
    FakeDesktop desktop;
    FakeDrives drives;
    std::unique_ptr<Program> program;
};

// Drops or command lines naming the root, however spelt: refused, and the other items still wiped.
TEST(RootFolder, IsNeverHandedOverFromADropOrTheCommandLine) {
    TempDir jail;
    const std::string file = jail.path() + "/a.bin";
    struct Row {
        const char* what;
        std::vector<std::string> drop;  // empty: a command-line start
        std::string commandLine;
        std::vector<MessageRecord> messages;
    };
    // A job from the command line names the refused root among what remains, and ends with status 1.
    const Row rows[] = {
        {"dropped", {"/", "//", "/tmp/..", file}, "", {kQuestion, kRootRefused, kRootRefused, kRootRefused}},
        {"one folder on the command line", {}, "\"/\"", {kRootRefused}},
        {"in a list", {}, "\"/\" \"" + file + "\"", {kQuestion, kRootRefused, {"L88 1\r\r/", 0x30, "L28"}}},
        {"in a list, spelt twice",
         {},
         "\"//\" \"" + file + "\"",
         {kQuestion, kRootRefused, {"L88 1\r\r//", 0x30, "L28"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WriteBytes(file, "data");
        JailedBed j(jail.path(), row.commandLine);
        j.desktop.answers = {MessageAnswer::Yes};
        if (row.drop.empty()) {
            EXPECT_THROW(Main(*j.program), ProgramEnded);
        } else {
            j.program->form1();
            int effect = 7;
            j.program->form1().onOLEDragDrop(row.drop, effect);
        }
        ExpectMessages(j.desktop.messages, row.messages);
        EXPECT_EQ(PathExists(file), row.messages.size() == 1);  // only the one-folder start leaves it
        EXPECT_EQ(j.desktop.endStatus, row.drop.empty() ? 1 : -1);
        EXPECT_NE(j.program->form1Unloaded().FolderToWipe, "/");
    }
}

}  // namespace
}  // namespace scorvane::testing
