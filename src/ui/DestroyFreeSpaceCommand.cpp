#include "ui/DestroyFreeSpaceCommand.h"

#include <array>

#include "engine/FreeSpaceWipe.h"
#include "engine/PassPlans.h"
#include "model/Program.h"
#include "ui/DriveList.h"
#include "ui/RunEnd.h"

namespace scorvane {

namespace {

// The statistics lines and their shadows, in the order the command handles them.
std::array<Label*, 8> StatisticsLabels(Dialog& dialog) {
    return {&dialog.Label1, &dialog.Label2, &dialog.Label3, &dialog.Label4,
            &dialog.Label5, &dialog.Label6, &dialog.Label7, &dialog.Label10};
}

}  // namespace

void Command2_Click(Program& program) {
    Form1& form = program.form1();
    WindowServices& windows = program.windows();
    const auto& lang = program.Lang;
    if (MethodOf(form.Combo1.listIndex).freeSpaceCycle.empty()) {
        windows.MessageBox(lang[Text::NoGutmannForFreeSpace] + "\r\r" + lang[Text::ChooseAnotherMethod],
                           MessageStyle::Information, lang[Text::ProgramName]);
        return;
    }
    Drive1_Change(program);
    windows.MessageBox(
        lang[Text::FillWillStart] + "\r" + lang[Text::FillTakesLong] + "\r\r" + lang[Text::FillStartsOnClose],
        MessageStyle::Information, lang[Text::FillTitle]);
    program.CancelFlag = 0;
    Drive1_Change(program);

    Dialog& dialog = program.dialog();
    for (Label* label : StatisticsLabels(dialog)) label->caption.clear();
    for (Label* label : StatisticsLabels(dialog)) label->visible = true;
    dialog.Show();
    form.Hide();
    dialog.Show();
    windows.Yield();
    program.dialog().Refresh();
    program.CancelFlag = 0;  // a stop pressed before the wipe began is undone
    program.Remaining.Clear();

    WipeSpace(program, form.Drive1.Drive());

    if (program.IsDialogLoaded()) {
        for (Label* label : StatisticsLabels(program.dialogUnloaded())) label->visible = false;
        program.dialogUnloaded().Unload();
    }
    form.Show();
    // Fill files that could not be removed are named: the drive is fuller than it was.
    (void)ShowWhatRemains(program);
}

}  // namespace scorvane
