#include "app/FeatureWiring.h"
#include "model/Program.h"
#include "ui/DestroyFilesCommand.h"
#include "ui/DropHandling.h"
#include "ui/MethodConfirmation.h"

namespace scorvane {

void WireFileCommands(Program& program) {
    Form1& form = program.form1Unloaded();
    form.Command1.onClick = [&program] { Command1_Click(program); };
    form.mnuDistruggiFile.onClick = [&program] { Command1_Click(program); };

    using DropHandler = void (*)(Program&, const std::vector<std::string>&, int&);
    auto drop = [&program](DropHandler handler) {
        return [&program, handler](const std::vector<std::string>& paths, int& effect) {
            handler(program, paths, effect);
        };
    };
    form.onOLEDragDrop = drop(Form1_OLEDragDrop);
    form.Label1.onOLEDragDrop = drop(Label1_OLEDragDrop);
    form.Label4.onOLEDragDrop = drop(Label4_OLEDragDrop);
    form.Label9.onOLEDragDrop = drop(Label9_OLEDragDrop);
    form.Combo1.onOLEDragDrop = drop(Combo1_OLEDragDrop);

    Form2& confirmation = program.form2Unloaded();
    confirmation.onLoad = [&program] { Form2_Form_Load(program); };
    confirmation.Combo1.onClick = [&program] { Form2_Combo1_Click(program); };
    confirmation.Command1.onClick = [&program] { Form2_Command1_Click(program); };
    confirmation.Command2.onClick = [&program] { Form2_Command2_Click(program); };
}

}  // namespace scorvane
