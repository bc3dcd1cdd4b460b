#include "model/Dialog.h"

#include <cmath>

namespace scorvane {

Twips BarWidth(double total, double done) {
    const double width = std::floor(static_cast<double>(kBarFullWidth) / total * done);
    if (!(width < kBarFullWidth)) return kBarFullWidth;  // also for a total of 0
    return width < 0 ? 0 : static_cast<Twips>(width);
}

Dialog::Dialog() : Window("Dialog") { Build(); }

namespace {
void StatisticsLabel(Label& label, const char* name, Twips left, Twips top, Twips width, Twips height, double size,
                     Color colour) {
    label.Build(name, left, top, width, height);
    label.font = Arial(size, true);
    label.foreColor = colour;
    label.autoSize = true;
    label.visible = false;
}
}  // namespace

void Dialog::Build() {
    caption.clear();
    width = kClientWidth;
    height = kClientHeight;
    visible = false;
    mousePointer = MousePointer::Default;
    backColor = 0x00F98A0F;

    Timer1 = Timer{"Timer1", 0, Timer1.onTimer};

    CancelButton.Build("CancelButton", 2730, 2640, 1455, 435);
    CancelButton.mousePointer = MousePointer::Hand;
    CancelButton.caption = "&Cancel";

    Shape1.Build("Shape1", 240, 2160, 6455, 255);

    ImgBar.Build("ImgBar", 270, 2190, 0, 210);
    ImgBar.stretch = true;

    Label9.Build("Label9", 270, 1080, 6405, 990);
    Label9.font = Arial(15, true, true);
    Label9.foreColor = Palette::White;
    Label9.alignment = Alignment::Center;
    Label9.visible = false;

    Label8.Build("Label8", 60, 60, 6795, 765);
    Label8.font = Arial(11.25, true, true);
    Label8.foreColor = Palette::White;
    Label8.alignment = Alignment::Center;

    StatisticsLabel(Label2, "Label2", 300, 960, 570, 225, 9, Palette::White);
    StatisticsLabel(Label1, "Label1", 300, 1230, 540, 210, 8.25, Palette::White);
    StatisticsLabel(Label3, "Label3", 300, 1470, 540, 210, 8.25, Palette::White);
    StatisticsLabel(Label4, "Label4", 300, 1710, 540, 210, 8.25, Palette::White);
    StatisticsLabel(Label10, "Label10", 310, 1720, 540, 210, 8.25, Palette::Black);
    StatisticsLabel(Label7, "Label7", 310, 1480, 540, 210, 8.25, Palette::Black);
    StatisticsLabel(Label6, "Label6", 310, 1240, 540, 210, 8.25, Palette::Black);
    StatisticsLabel(Label5, "Label5", 315, 975, 570, 225, 9, Palette::Black);

    Image1.Build("Image1", 0, 0, 7095, 3780);
}

std::vector<Control*> Dialog::Controls() {
    return {&CancelButton, &Shape1, &ImgBar,  &Label9, &Label8, &Label2, &Label1,
            &Label3,       &Label4, &Label10, &Label7, &Label6, &Label5, &Image1};
}

}  // namespace scorvane
