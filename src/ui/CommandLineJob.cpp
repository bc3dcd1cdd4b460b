#include "ui/CommandLineJob.h"

#include <algorithm>
#include <vector>

#include "engine/OneFileWipe.h"
#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "startup/ApplyLanguage.h"
#include "startup/PathHelpers.h"
#include "startup/Settings.h"
#include "ui/DestroyFolderCommand.h"
#include "ui/ProgressRun.h"
#include "ui/RunEnd.h"

namespace scorvane {

namespace {
std::string WithoutQuotes(std::string text) {
    std::erase(text, '"');
    return text;
}

// ItemFolder becomes the text up to and including its last separator; without one it stays.
void SetItemFolder(Program& program, const std::string& text) {
    const auto separator = text.rfind(kSeparator);
    if (separator != std::string::npos) program.form1().ItemFolder = text.substr(0, separator + 1);
}

// One entry of the list: a folder (never the root) to the destroy-folder command, anything else to
// WipeFile. `unquoted` is the entry before its trailing separator was taken off: "/" would otherwise
// pass unseen as the empty text.
void WipeEntry(Program& program, const std::string& unquoted, const std::string& entry) {
    Form1& form = program.form1();
    // A refused item stays, and the job's end names it among what remains.
    if (RefusedAsRoot(program, unquoted) ||
        RefusedAsKernelFileSystem(program, entry, program.Lang[Text::WarningTitle])) {
        program.Remaining.Add(unquoted);
        return;
    }
    if (IsFolder(program, entry)) {
        // A stop asked for in the yield before this item must not be undone by the folder command,
        // which starts its run with the flag cleared.
        if (program.CancelFlag == 1) return;
        form.FolderToWipe = entry;
        Command3_Click(program);
    } else {
        WipeFile(program, entry, form.Combo1.listIndex);
    }
}

std::string WithoutOneTrailingSeparator(std::string text) {
    if (!text.empty() && text.back() == kSeparator) text.pop_back();
    return text;
}
}  // namespace

std::string BuildCommandList(const std::string& commandLine) {
    std::string list;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        if (commandLine.compare(i, 3, "\" \"") == 0) {
            list += '\0';
            i += 2;
        } else {
            list += commandLine[i];
        }
    }
    return list;
}

void RunCommandLineJob(Program& program) {
    const std::string& commandLine = program.facts().commandLine;
    if (Trim(commandLine).empty()) return;

    LoadSettings(program);
    ApplyLanguage(program);
    program.form2().ShowModal();
    if (!program.MethodConfirmed) program.windows().EndProgram();

    // One folder only when one path was handed over: several paths joined without their quotes could
    // name a folder that nobody chose.
    const std::string folder = WithoutQuotes(commandLine);
    const bool onePath = BuildCommandList(commandLine).find('\0') == std::string::npos;
    program.Remaining.Clear();
    if (onePath && IsFolder(program, folder)) {
        if (RefusedAsRoot(program, folder)) program.windows().EndProgram(1);
        Form1& form = program.form1();
        form.StartedWithFolder = true;
        form.FolderToWipe = folder;
        Command3_Click(program);
        return;
    }
    ProcessCommandList(program, BuildCommandList(commandLine));
}

void ProcessCommandList(Program& program, const std::string& list) {
    Form1& form = program.form1();
    WindowServices& windows = program.windows();
    form.mousePointer = MousePointer::Hourglass;
    program.CancelFlag = 0;
    const std::vector<std::string> entries = SplitAtNul(list);
    // What each named path is now is what the job wipes: a folder swapped for a link later is not followed.
    std::vector<std::string> paths;
    for (const std::string& entry : entries) paths.push_back(WithoutOneTrailingSeparator(WithoutQuotes(entry)));
    const RecordedChoice chosen(program.files(), paths);

    if (!ConfirmRun(program, kRunQuestionStyle, program.Lang[Text::WarningTitle])) {
        form.mousePointer = MousePointer::Default;
        windows.EndProgram();
    }

    if (entries.size() == 1) {
        const std::string text = WithoutQuotes(entries[0]);
        SetItemFolder(program, text);
        OpenProgressWindow(program);
        program.dialog().Refresh();
        WipeEntry(program, text, WithoutOneTrailingSeparator(text));
    } else if (entries.size() >= 2) {
        const auto highest = static_cast<int>(entries.size()) - 1;
        form.ProgressTotal = FixedPoint4::FromDouble(highest);
        OpenProgressWindow(program);
        SetItemFolder(program, WithoutQuotes(entries[0]));
        for (int i = 0; i <= highest; ++i) {
            program.dialog().ImgBar.width = BarWidth(form.ProgressTotal.ToDouble(), i);
            program.dialog().Refresh();
            const std::string unquoted = WithoutQuotes(entries[static_cast<std::size_t>(i)]);
            WipeEntry(program, unquoted, WithoutOneTrailingSeparator(unquoted));
            if (program.CancelFlag == 1) break;
            windows.Yield();
            program.dialogUnloaded().Refresh();
        }
    }

    CloseProgressWindow(program);
    form.mousePointer = MousePointer::Default;
    EndCommandLineRun(program);
}

}  // namespace scorvane
