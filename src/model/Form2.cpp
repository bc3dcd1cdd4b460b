#include "model/Form2.h"

namespace scorvane {

Form2::Form2() : Window("Form2") { Build(); }

void Form2::Build() {
    caption = "Form2";
    width = kClientWidth;
    height = kClientHeight;
    visible = false;
    mousePointer = MousePointer::Default;
    backColor.reset();

    Command2.Build("Command2", 3210, 4740, 1665, 495);
    Command2.backColor = 0x00311700;
    Command2.caption = "Distruggi";

    Command1.Build("Command1", 1500, 4740, 1665, 495);
    Command1.backColor = 0x00311700;
    Command1.caption = "&Annulla";

    Combo1.Build("Combo1", 480, 555, 5475, 345);
    Combo1.font = Arial(9, true);
    Combo1.backColor = 0x008080FF;
    Combo1.foreColor = 0x00000080;
    Combo1.mousePointer = MousePointer::Hand;
    Combo1.Clear();

    Label9.Build("Label9", 480, 1545, 5475, 2580);
    Label9.font = Arial(15, true, true);
    Label9.foreColor = Palette::White;
    Label9.alignment = Alignment::Center;
    Label9.caption = "Metodo di cancellazione";

    Label1.Build("Label1", 510, 300, 2115, 240);
    Label1.font = Arial(9.75);
    Label1.foreColor = Palette::White;
    Label1.autoSize = true;
    Label1.caption = "Metodo di cancellazione";

    Label3.Build("Label3", 5070, 3885, 855, 165);
    Label3.font = Arial(8.25, true, true);
    Label3.foreColor = 0x00000040;
    Label3.alignment = Alignment::Center;
    Label3.caption = "Label3";
}

std::vector<Control*> Form2::Controls() { return {&Command2, &Command1, &Combo1, &Label9, &Label1, &Label3}; }

}  // namespace scorvane
