#include "engine/ProgressWindow.h"

#include "model/Program.h"

namespace scorvane {

void Dialog_Form_Load(Program& program) {
    Dialog& dialog = program.dialog();
    dialog.mousePointer = MousePointer::Hourglass;
    dialog.Label8.caption = program.Lang[Text::Preparing];
    dialog.Label9.caption = program.Lang[Text::WipingInProgress] + "\r" + program.Lang[Text::PleaseWait];
    dialog.CancelButton.caption = "&" + program.Lang[Text::CancelCaption];
    dialog.ImgBar.width = 0;
    program.CancelFlag = 0;
}

void Dialog_Form_Unload(Program& program) { program.dialogUnloaded().mousePointer = MousePointer::Default; }

void CancelButton_Click(Program& program) {
    program.dialogUnloaded().Label9.caption = program.Lang[Text::Stopping];
    program.CancelFlag = 1;
}

void CancelButton_KeyPress(Program& program, int& keyAscii) {
    if (keyAscii == kEscape) CancelButton_Click(program);
}

void Dialog_Form_KeyPress(Program& program, int& keyAscii) { CancelButton_KeyPress(program, keyAscii); }

void UnloadDialogIfLoaded(Program& program) {
    if (program.IsDialogLoaded()) program.dialogUnloaded().Unload();
}

}  // namespace scorvane
