#include "app/Wiring.h"

#include "app/FeatureWiring.h"
#include "engine/ProgressWindow.h"
#include "model/Program.h"
#include "ui/DriveList.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowLoad.h"

namespace scorvane {

namespace {

void WireMainWindow(Program& program) {
    Form1& form = program.form1Unloaded();
    form.onLoad = [&program] {
        FillDriveList(program);
        Form1_Load(program);
    };
    form.onUnload = [&program] { Form1_Unload(program); };
    form.onMouseMove = [&program] { Form1_MouseMove(program); };
    form.Combo1.onClick = [&program] { Combo1_Click(program); };
    form.Label4.onClick = [&program] { Label4_Click(program); };
    form.Command1.onMouseMove = [&program] { Command1_MouseMove(program); };
    form.Command3.onMouseMove = [&program] { Command3_MouseMove(program); };
    form.Drive1.onChange = [&program] { Drive1_Change(program); };
    form.mnuEsci.onClick = [&program] { mnuEsci_Click(program); };
}

void WireProgressWindow(Program& program) {
    Dialog& dialog = program.dialogUnloaded();
    dialog.onLoad = [&program] { Dialog_Form_Load(program); };
    dialog.onUnload = [&program] { Dialog_Form_Unload(program); };
    dialog.onKeyPress = [&program](int& key) { Dialog_Form_KeyPress(program, key); };
    dialog.CancelButton.onClick = [&program] { CancelButton_Click(program); };
    dialog.CancelButton.onKeyPress = [&program](int& key) { CancelButton_KeyPress(program, key); };
}

}  // namespace

void WireHandlers(Program& program) {
    WireMainWindow(program);
    WireProgressWindow(program);
    WireFileCommands(program);
    WireFolderCommand(program);
    WireFreeSpaceCommand(program);
    WireMenusAndAboutBox(program);
}

}  // namespace scorvane
