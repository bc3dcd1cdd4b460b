#include "ui/DestroyFilesCommand.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <vector>

#include "engine/FailureMessages.h"
#include "engine/OneFileWipe.h"
#include "engine/Shutdown.h"
#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "startup/PathHelpers.h"
#include "ui/ProgressRun.h"
#include "ui/RunEnd.h"

namespace scorvane {

namespace {
// The folder (entry 0) joined with a picked name; an empty name gives the folder itself.
std::string EntryPath(const std::vector<std::string>& entries, std::size_t i) {
    std::string path = entries[0] + kSeparator + entries[i];
    if (path.back() == kSeparator) path.pop_back();
    return path;
}

// A picked name that names nothing (a name the dialog could not hand over as it is, or a file gone since):
// each is reported and noted as remaining, so that the run never ends with a completion message for a
// file it did not wipe.
void ReportMissing(Program& program, const std::vector<std::string>& entries) {
    std::vector<std::string> named;
    if (entries.size() == 1 || (entries.size() > 1 && entries[1].empty())) {
        named.push_back(entries[0]);
    } else {
        for (std::size_t i = 1; i < entries.size() && !entries[i].empty(); ++i) named.push_back(EntryPath(entries, i));
    }
    for (const std::string& path : named) {
        if (program.files().KindOf(path) != EntryKind::Missing) continue;
        ReportRemaining(program, path, MakeFailure(FailureNumber::FileNotFound));
    }
}

// The dialog's answer ends at its first empty entry (two NULs in a row); the NULs that fill the rest of
// the buffer are no entries.
std::vector<std::string> AnswerEntries(std::string_view answer) {
    std::vector<std::string> entries = SplitAtNul(answer);
    entries.erase(std::find(entries.begin(), entries.end(), std::string()), entries.end());
    return entries;
}

// The paths the run goes through: the one picked path, or the folder joined with each picked name.
std::vector<std::string> PickedPaths(const std::vector<std::string>& entries) {
    std::vector<std::string> paths;
    if (entries.size() == 1) {
        std::string path = entries[0];
        if (!path.empty() && path.back() == kSeparator) path.pop_back();
        paths.push_back(std::move(path));
    }
    for (std::size_t i = 1; i < entries.size(); ++i) paths.push_back(EntryPath(entries, i));
    return paths;
}

std::string CurrentFolder() {
    std::error_code failed;
    auto folder = std::filesystem::current_path(failed);
    return failed ? std::string() : folder.string();
}
}  // namespace

std::string GetFiles(Program& program) {
    std::string filter = program.Lang[Text::AllFilesFilter] + " (*.*)";
    filter += '\0';
    filter += "*.*";
    filter += '\0';
    return OpenFileDialog(program, 1, program.Lang[Text::ChooseFiles], "", filter, CurrentFolder(), "*.*");
}

void Command1_Click(Program& program) {
    Form1& form = program.form1();
    WindowServices& windows = program.windows();
    form.mousePointer = MousePointer::Hourglass;
    program.CancelFlag = 0;
    program.Remaining.Clear();

    const std::vector<std::string> entries = AnswerEntries(GetFiles(program));
    const int last = static_cast<int>(entries.size()) - 1;  // U

    // What each picked name is now is what the run wipes: a folder swapped for a link later is not followed.
    const RecordedChoice chosen(program.files(), PickedPaths(entries));
    if (last != -1) ReportMissing(program, entries);
    bool refused = false;
    if (last != -1 && !ConfirmRun(program, kRunQuestionStyle, program.Lang[Text::WarningTitle])) {
        form.mousePointer = MousePointer::Default;
        return;
    }

    if (last >= 1) {
        form.ProgressTotal = FixedPoint4::FromDouble(last);
        OpenProgressWindow(program);
        for (int i = 1; i <= last; ++i) {
            program.dialog().ImgBar.width = BarWidth(form.ProgressTotal.ToDouble(), i);
            program.dialog().Refresh();
            const std::string path = EntryPath(entries, static_cast<std::size_t>(i));
            if (RefusedAsKernelFileSystem(program, path, program.Lang[Text::WarningTitle])) {
                refused = true;
            } else if (!IsFolder(program, path)) {
                WipeFile(program, path, form.Combo1.listIndex);
            }
            if (program.CancelFlag == 1) break;
            windows.Yield();
            program.dialogUnloaded().Refresh();
        }
    } else if (last == 0) {
        OpenProgressWindow(program);
        program.dialog().Refresh();
        const std::string path = PickedPaths(entries).front();
        refused = RefusedAsKernelFileSystem(program, path, program.Lang[Text::WarningTitle]);
        if (!refused) WipeFile(program, path, form.Combo1.listIndex);
    }

    CloseProgressWindow(program);
    form.mousePointer = MousePointer::Default;
    if (!Trim(program.facts().commandLine).empty()) EndCommandLineRun(program);
    // A refused item leaves its refusal as the last word; anything else left is named in one message.
    if (last != -1 && program.CancelFlag == 0 && !refused && !ShowWhatRemains(program)) {
        EndCompletedRun(program, [&] {
            windows.MessageBox(program.Lang[Text::WipingCompleted] + "     ", MessageStyle::Information,
                               program.Lang[Text::FinishedTitle]);
        });
    }
    form.Show();
}

}  // namespace scorvane
