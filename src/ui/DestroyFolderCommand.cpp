#include "ui/DestroyFolderCommand.h"

#include <cmath>
#include <string>

#include "engine/FailureMessages.h"
#include "engine/FolderWalk.h"
#include "engine/OneFileWipe.h"
#include "engine/ProgressWindow.h"
#include "engine/Shutdown.h"
#include "engine/WipeHelpers.h"
#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "startup/PathHelpers.h"
#include "startup/TemporaryFile.h"
#include "ui/ProgressRun.h"
#include "ui/RunEnd.h"

namespace scorvane {

namespace {

constexpr int kFolderNameLength = 16;
constexpr int kNamingAttempts = 8;
constexpr double kPickerMode = 3;
// The folder command's own question, unlike a run over chosen items: the exclamation icon, No as the default.
constexpr int kFolderQuestionStyle =
    MessageStyle::YesNo | MessageStyle::Exclamation | MessageStyle::SecondButtonDefault;

// 16 digits '0' to '8'.
std::string RandomFolderName(Program& program) {
    std::string name(kFolderNameLength, '0');
    for (char& digit : name)
        digit = static_cast<char>('0' + static_cast<int>(std::floor(program.random().NextUnit() * 9.0)));
    return name;
}

void StartFolderList(Form1& form, const std::string& folder) {
    form.List2.items.clear();
    form.List2.items.push_back(folder);
}

// A file of known content in the program's own folder, written and wiped between the two walks; what a
// stop or a failure leaves of it is removed, so that no run leaves it behind.
void WriteAndWipeTemporaryFile(Program& program) {
    const auto temporary = WriteTemporaryFile(program);
    if (!temporary) return;
    WipeFile(program, temporary->path, program.form1().Combo1.listIndex);
    RemoveTemporaryFile(program, *temporary);
}

// What a listed folder is when its turn to go comes: empty (it can be removed), still holding something
// (or unreadable), or gone already.
enum class FolderState { Empty, Holding, Gone };
FolderState StateOf(Program& program, const std::string& folder) {
    const auto listing = program.files().ListFolder(folder);
    if (!listing) {
        return listing.failure().number == FailureNumber::FileNotFound ? FolderState::Gone : FolderState::Holding;
    }
    const FolderListing& entries = listing.value();
    const bool empty = entries.fileNames.empty() && entries.subFolders.empty() && entries.mountPoints.empty() &&
                       entries.others.empty();
    return empty ? FolderState::Empty : FolderState::Holding;
}

// Removes a listed folder under fresh random names, up to eight attempts. Only a folder that holds nothing
// is renamed: one that still holds anything (a file that could not be wiped, a folder kept for that) keeps
// its name, as the folders above it then do, so that the closing message names paths that exist. The
// path follows a rename only when the rename succeeded, so a name that already existed beside the folder
// is never renamed or removed in its place. A folder given with trailing separators (as a command line
// may hand it over) is renamed like any other, and a link named as the folder is removed as a name.
void RemoveUnderRandomNames(Program& program, const std::string& folder) {
    FileServices& files = program.files();
    std::string current = folder;
    while (current.size() > 1 && current.back() == kSeparator) current.pop_back();
    const std::string original = current;
    if (files.KindOf(current) != EntryKind::Other) {
        const FolderState state = StateOf(program, current);
        if (state == FolderState::Gone) return;
        if (state == FolderState::Holding) {
            program.Remaining.Add(current);
            return;
        }
    }
    const auto separator = current.rfind(kSeparator);
    const std::string parent = separator == std::string::npos ? std::string() : current.substr(0, separator + 1);
    for (int attempt = 0; attempt < kNamingAttempts; ++attempt) {
        const std::string renamed = parent + RandomFolderName(program);
        SetNormalAttributes(program, current);
        if (files.Rename(current, renamed)) current = renamed;
        program.windows().Yield();
        const bool removed =
            files.KindOf(current) == EntryKind::Other ? files.Delete(current).ok() : files.RemoveFolder(current).ok();
        if (removed) return;
    }
    // Something came into the folder since it was found empty, or it cannot be removed: it goes back to its
    // own name when it can.
    if (current != original && files.Rename(current, original)) current = original;
    program.Remaining.Add(current);
}

// Every listed folder, deepest first: any file still in it is wiped, then the folder is removed.
// No cancel test here: after a stop ElencaFiles wipes nothing, and the folders are still removed.
void RemoveListedFolders(Program& program) {
    const std::vector<std::string> folders = program.form1().List2.items;
    for (auto entry = folders.rbegin(); entry != folders.rend(); ++entry) {
        ElencaFiles(program, *entry);
        RemoveUnderRandomNames(program, *entry);
    }
}

void BackToMainWindow(Program& program) {
    UnloadDialogIfLoaded(program);
    program.form1().mousePointer = MousePointer::Default;
    program.form1().Show();
}

}  // namespace

void Command3_Click(Program& program) {
    Form1& form = program.form1();
    const bool handedOver = !form.FolderToWipe.empty();
    const std::string folder =
        handedOver ? form.FolderToWipe : BrowseForFolder(program, program.Lang[Text::ChooseFolder], kPickerMode);
    if (folder.empty()) return;
    // A picked folder the desktop could not hand over as it is names nothing: said, never "completed".
    if (!handedOver && program.files().KindOf(folder) == EntryKind::Missing) {
        ShowWipeFailure(program, MakeFailure(FailureNumber::FileNotFound), folder);
        return;
    }

    // The root is refused before anything else, however it was chosen. A handed-over root ends like a
    // handed-over folder whose run was refused: FolderToWipe is cleared and CancelFlag left alone, so
    // the caller goes on with its next item.
    if (IsFilesystemRoot(program, folder)) {
        program.windows().MessageBox(program.Lang[Text::RootRefused], MessageStyle::Exclamation,
                                     program.Lang[Text::DestroyFolder]);
        form.FolderToWipe.clear();
        return;
    }
    if (RefusedAsKernelFileSystem(program, folder, program.Lang[Text::DestroyFolder])) {
        form.FolderToWipe.clear();
        return;
    }
    if (!handedOver &&
        !ConfirmRun(program, kFolderQuestionStyle, program.Lang[Text::DestroyFolder] + ": \"" + folder + "\"")) {
        return;
    }

    program.CancelFlag = 0;
    if (!handedOver) program.Remaining.Clear();
    form.mousePointer = MousePointer::Hourglass;
    form.Hide();

    // Every operation of the run acts through a handle of the folder's parent taken now: no change of
    // the path while the run goes on can lead it outside the chosen tree.
    const ScopedAnchor anchor(program.files(), folder);
    StartFolderList(form, folder);
    Scan(program, folder);
    program.windows().Yield();
    WriteAndWipeTemporaryFile(program);
    if (program.CancelFlag == 1) {
        BackToMainWindow(program);
        form.FolderToWipe.clear();
        // A caller that handed the folder over sees the stop and ends its own run.
        if (!handedOver) program.CancelFlag = 0;
        return;
    }

    StartFolderList(form, folder);
    Scan2(program, folder);
    if (program.CancelFlag == 1) {
        form.FolderToWipe.clear();
        if (form.StartedWithFolder) EndCommandLineRun(program);
        BackToMainWindow(program);
        return;
    }

    // The generator is seeded once at start and never again from the clock.
    RemoveListedFolders(program);

    if (!Trim(program.facts().commandLine).empty()) {
        if (form.StartedWithFolder) {
            UnloadDialogIfLoaded(program);
            form.mousePointer = MousePointer::Default;
            EndCommandLineRun(program);
        }
        return;
    }
    if (!form.FolderToWipe.empty()) {
        form.FolderToWipe.clear();
        return;
    }
    UnloadDialogIfLoaded(program);
    if (program.CancelFlag == 0 && !ShowWhatRemains(program)) {
        EndCompletedRun(program, [&] {
            program.windows().MessageBox(program.Lang[Text::WipingCompleted] + "     ", MessageStyle::Information,
                                         program.Lang[Text::FinishedTitle]);
        });
    }
    form.mousePointer = MousePointer::Default;
    form.Show();
}

void mnuDistruggiCartella_Click(Program& program) { Command3_Click(program); }

}  // namespace scorvane
