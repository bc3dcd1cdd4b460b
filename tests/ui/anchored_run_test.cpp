// What another process cannot make a run do once the user has chosen: the folder of a chosen file swapped
// for a link, or the chosen folder itself replaced or covered by a mount, is never followed, and a run that
// leaves anything chosen never ends with the completion message.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>

#include "startup/ApplyLanguage.h"
#include "support/Messages.h"
#include "support/TestBed.h"
#include "ui/CommandLineJob.h"
#include "ui/DestroyFilesCommand.h"
#include "ui/DestroyFolderCommand.h"
#include "ui/DropHandling.h"

namespace scorvane::testing {
namespace {

namespace fs = std::filesystem;

enum class RunKind { FilesCommand, Drop, CommandLine };

struct RunBed {
    RunBed() {
        bed.UseMarkerTexts();
        bed.program().form1Unloaded().StoredMethodIndex() = "1";
        ApplyLanguage(bed.program());
        bed.program().form1().Show();
    }
    // Runs over `paths` as the user would start it; true when the run ended the program.
    void Start(RunKind run, const std::vector<std::string>& paths) {
        bed.desktop.answers = {MessageAnswer::Yes};
        if (run == RunKind::FilesCommand) {
            bed.desktop.fileAnswers.push_back(paths);
            Command1_Click(bed.program());
        } else if (run == RunKind::Drop) {
            int effect = 7;
            ProcessDrop(bed.program(), paths, effect);
        } else {
            std::string line;
            for (const auto& path : paths) line += (line.empty() ? "\"" : " \"") + path + "\"";
            EXPECT_THROW(ProcessCommandList(bed.program(), BuildCommandList(line)), ProgramEnded);
        }
    }
    bool SaidCompleted() const {
        for (const auto& message : bed.desktop.messages) {
            if (message.text.starts_with("L17")) return true;
        }
        return false;
    }
    TestBed bed;
};

TEST(AnchoredRun, TheFolderOfAChosenFileSwappedForALinkIsNeverFollowed) {
    for (const RunKind run : {RunKind::FilesCommand, RunKind::Drop, RunKind::CommandLine}) {
        SCOPED_TRACE(static_cast<int>(run));
        RunBed r;
        const std::string x = r.bed.Work("x"), other = r.bed.Root() + "/other";
        fs::create_directories(x);
        fs::create_directories(other);
        WriteBytes(x + "/big", std::string(200'000, 'b'));
        WriteBytes(x + "/secret.txt", "mine");
        WriteBytes(other + "/secret.txt", "another's secret");
        // While the first file is wiped, its folder becomes a link to a folder holding a file of the same name.
        r.bed.desktop.atYield[10] = [&] {
            fs::rename(x, x + ".moved");
            fs::create_directory_symlink(other, x);
        };
        r.Start(run, {x + "/big", x + "/secret.txt"});

        EXPECT_EQ(ReadBytes(other + "/secret.txt"), "another's secret");
        EXPECT_EQ(ReadBytes(x + ".moved/secret.txt"), "mine");
        EXPECT_FALSE(r.SaidCompleted());
        const auto& messages = r.bed.desktop.messages;
        EXPECT_TRUE(std::any_of(messages.begin(), messages.end(),
                                [&](const MessageRecord& m) { return m.text == "L90\r" + x + "/secret.txt"; }));
    }
}

TEST(AnchoredRun, TheChosenFolderReplacedOrCoveredDuringItsRunIsNeverWalked) {
    for (const bool mounted : {false, true}) {
        SCOPED_TRACE(mounted ? "another folder mounted over it" : "another folder moved into its name");
        RunBed r;
        const std::string top = r.bed.Work("T"), other = r.bed.Work("O");
        MakeTree(top, {"a/", "a/one", "a/two", "three"});
        WriteBytes(top + "/a/one", std::string(200'000, 'i'));
        MakeTree(other, {"b/", "b/kept", "kept"});
        bool swapped = false;
        r.bed.desktop.atYield[10] = [&] {
            if (mounted) {
                swapped = ::mount(other.c_str(), top.c_str(), nullptr, MS_BIND, nullptr) == 0;
            } else {
                fs::rename(top, top + ".old");
                fs::rename(other, top);
                swapped = true;
            }
        };
        r.bed.desktop.folderAnswers = {top};
        r.bed.desktop.answers = {MessageAnswer::Yes};
        Command3_Click(r.bed.program());
        if (mounted && !swapped) GTEST_SKIP() << "cannot bind-mount a folder; needs root";

        EXPECT_EQ(ReadBytes(top + "/kept"), "kept");
        EXPECT_EQ(ReadBytes(top + "/b/kept"), "b/kept");
        if (mounted) ::umount2(top.c_str(), MNT_DETACH);
        EXPECT_FALSE(r.SaidCompleted());
        EXPECT_TRUE(r.bed.desktop.messages.back().text.starts_with("L88 ")) << r.bed.desktop.messages.back().text;
    }
}

// Another process exchanges a chosen folder, or the folder of chosen files, with a folder of its own as
// fast as it can from the moment the run begins: whatever the chosen paths named when the run began is
// all that is ever wiped.
TEST(AnchoredRun, AFolderExchangedInALoopNeverLeadsOutside) {
    constexpr int kRounds = 20;
    for (int round = 0; round < 3 * kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        RunBed r;
        const std::string x = r.bed.Work("x"), y = r.bed.Work("y");
        for (const std::string& folder : {x, y}) {
            const std::string tag = folder == x ? "chosen " : "outside ";
            MakeTree(folder, {"sub/"});
            WriteBytes(folder + "/big", tag + std::string(60'000, 'b'));
            WriteBytes(folder + "/sub/secret.txt", tag + "secret");
        }
        std::atomic<bool> stop{false};
        std::thread exchanger;
        r.bed.desktop.atYield[1] = [&] {
            exchanger = std::thread([&] {
                while (!stop) (void)::renameat2(AT_FDCWD, x.c_str(), AT_FDCWD, y.c_str(), RENAME_EXCHANGE);
            });
        };
        if (round % 3 == 2) {
            r.bed.desktop.folderAnswers = {x};
            r.bed.desktop.answers = {MessageAnswer::Yes};
            Command3_Click(r.bed.program());
        } else {
            r.Start(round % 3 == 0 ? RunKind::Drop : RunKind::FilesCommand, {x + "/big", x + "/sub/secret.txt"});
        }
        stop = true;
        if (exchanger.joinable()) exchanger.join();

        int outside = 0;
        for (const std::string& folder : {x, y}) {
            for (const std::string name : {"big", "sub/secret.txt"}) {
                if (!PathExists(folder + "/" + name)) continue;
                const std::string bytes = ReadBytes(folder + "/" + name);
                if (!bytes.starts_with("outside ")) continue;
                ++outside;
                EXPECT_EQ(bytes, name == "big" ? "outside " + std::string(60'000, 'b') : "outside secret") << name;
            }
        }
        EXPECT_EQ(outside, 2);
    }
}

}  // namespace
}  // namespace scorvane::testing
