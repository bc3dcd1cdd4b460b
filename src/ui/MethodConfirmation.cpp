#include "ui/MethodConfirmation.h"

#include "model/Program.h"
#include "platform/Text.h"
#include "ui/MethodDescription.h"

namespace scorvane {

void Form2_Form_Load(Program& program) {
    Form2& window = program.form2();
    Form1& main = program.form1();
    // The icon and the background picture are the main window's: the view draws them.
    window.caption = main.caption;
    window.Label1.caption = main.Label1.caption;
    window.Label3.caption = main.Label3.caption;
    window.Label9.caption = main.Label9.caption;
    window.Command1.caption = program.Lang[Text::CancelCaption];
    window.Command2.caption = program.Lang[Text::MenuDestroy];
    window.Combo1.Clear();
    for (const auto& name : program.MethodName) window.Combo1.AddItem(name);
    (void)window.Combo1.SetListIndex(main.Combo1.listIndex);
}

void Form2_Combo1_Click(Program& program) { Form2_Combo1_Change(program); }

void Form2_Combo1_Change(Program& program) {
    Form2& window = program.form2();
    const int position = window.Combo1.listIndex;
    if (position < 0) return;

    ShowMethodDescription(program, window.Label9, window.Label3, position);
    Form1& main = program.form1();
    (void)main.Combo1.SetListIndex(position);
    main.StoredMethodIndex() = Decimal(position);
}

void Form2_Command1_Click(Program& program) {
    program.MethodConfirmed = false;
    program.form2().Unload();
}

void Form2_Command2_Click(Program& program) {
    program.MethodConfirmed = true;
    program.form2().Unload();
}

}  // namespace scorvane
