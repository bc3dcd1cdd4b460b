#include "ui/DropHandling.h"

#include "engine/OneFileWipe.h"
#include "engine/Shutdown.h"
#include "model/Program.h"
#include "platform/Text.h"
#include "startup/PathHelpers.h"
#include "ui/DestroyFolderCommand.h"
#include "ui/ProgressRun.h"
#include "ui/RunEnd.h"

namespace scorvane {

void ProcessDrop(Program& program, const std::vector<std::string>& paths, int& effect) {
    if (effect != kAllDropEffects) return;
    WindowServices& windows = program.windows();
    if (!ConfirmRun(program, kRunQuestionStyle, program.Lang[Text::WarningTitle])) return;

    // What each dropped path is now is what the run wipes: a folder swapped for a link later is not followed.
    const RecordedChoice chosen(program.files(), paths);
    Form1& form = program.form1();
    form.mousePointer = MousePointer::Hourglass;
    program.Remaining.Clear();
    const std::size_t count = paths.size();
    bool refused = false;
    for (std::size_t i = 1; i <= count; ++i) {
        form.ProgressTotal = FixedPoint4::FromDouble(static_cast<double>(count));
        OpenProgressWindow(program);
        windows.Yield();
        // The bar shows i of the items before item i is processed.
        program.dialog().ImgBar.width = BarWidth(form.ProgressTotal.ToDouble(), static_cast<double>(i));
        program.dialog().Refresh();
        const std::string& path = paths[i - 1];
        if (RefusedAsKernelFileSystem(program, path, program.Lang[Text::WarningTitle])) {
            refused = true;
        } else if (IsFolder(program, path)) {
            if (RefusedAsRoot(program, path)) {
                refused = true;
            } else if (program.CancelFlag == 1) {
                break;  // a stop from the yield before must not be undone by the folder command
            } else {
                form.FolderToWipe = path;
                Command3_Click(program);
            }
        } else {
            WipeFile(program, path, form.Combo1.listIndex);
        }
        if (program.CancelFlag == 1) break;
        windows.Yield();
        program.dialogUnloaded().Refresh();
    }

    form.mousePointer = MousePointer::Default;
    if (!Trim(program.facts().commandLine).empty()) EndCommandLineRun(program);
    // A refused item leaves its refusal as the last word: no completion message, no shutdown.
    if (program.CancelFlag == 0 && !refused && !ShowWhatRemains(program)) {
        EndCompletedRun(program, [&] {
            if (program.IsDialogLoaded()) {
                program.dialogUnloaded().ImgBar.width = kBarFullWidth;
                program.dialogUnloaded().Refresh();
            }
            windows.MessageBox(program.Lang[Text::WipingCompleted], MessageStyle::Information,
                               program.Lang[Text::FinishedTitle]);
        });
    }
    CloseProgressWindow(program);
    form.Show();
}

void Form1_OLEDragDrop(Program& program, const std::vector<std::string>& paths, int& effect) {
    ProcessDrop(program, paths, effect);
}
void Label1_OLEDragDrop(Program& program, const std::vector<std::string>& paths, int& effect) {
    ProcessDrop(program, paths, effect);
}
void Label4_OLEDragDrop(Program& program, const std::vector<std::string>& paths, int& effect) {
    ProcessDrop(program, paths, effect);
}
void Label9_OLEDragDrop(Program& program, const std::vector<std::string>& paths, int& effect) {
    ProcessDrop(program, paths, effect);
}
void Combo1_OLEDragDrop(Program& program, const std::vector<std::string>& paths, int& effect) {
    ProcessDrop(program, paths, effect);
}

}  // namespace scorvane
