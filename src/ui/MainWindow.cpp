#include "ui/MainWindow.h"

#include "model/Program.h"
#include "startup/Settings.h"
#include "ui/MethodDescription.h"

namespace scorvane {

namespace {
constexpr Twips kHighlightShift = 20;

void Highlight(Label& button) {
    if (button.foreColor == Palette::White) return;
    button.left += kHighlightShift;
    button.top += kHighlightShift;
    button.foreColor = Palette::White;
}

void RemoveHighlight(Label& button) {
    if (button.foreColor != Palette::White) return;
    button.left -= kHighlightShift;
    button.top -= kHighlightShift;
    button.foreColor = Palette::LightGrey;
}
}  // namespace

void Combo1_Click(Program& program) { Combo1_Change(program); }

void Combo1_Change(Program& program) {
    Form1& form = program.form1();
    const int position = form.Combo1.listIndex;
    if (position < 0) return;

    ShowMethodDescription(program, form.Label9, form.Label3, position);
    SaveSettings(program);
}

void Label4_Click(Program& program) {
    CheckBox& option = program.form1().Check1;
    option.value = option.value == 1 ? 0 : 1;
}

void Command1_MouseMove(Program& program) { Highlight(program.form1().Command1); }

void Command3_MouseMove(Program& program) { Highlight(program.form1().Command3); }

void Form1_MouseMove(Program& program) {
    RemoveHighlight(program.form1().Command1);
    RemoveHighlight(program.form1().Command3);
}

void Form1_Unload(Program& program) { program.windows().EndProgram(); }

void mnuEsci_Click(Program& program) { program.windows().EndProgram(); }

}  // namespace scorvane
