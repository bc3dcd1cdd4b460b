#include "model/FrmAbout.h"

namespace scorvane {

FrmAbout::FrmAbout() : Window("frmAbout") { Build(); }

void FrmAbout::Build() {
    caption = "About";
    width = kClientWidth;
    height = kClientHeight;
    visible = false;
    mousePointer = MousePointer::Default;
    backColor = Palette::White;

    Picture1.Build("Picture1", 210, 1170, 5940, 2235);
    Picture1.backColor = Palette::White;
    Picture2.Build("Picture2", 60, 0, 5775, 4155);
    Picture2.backColor = Palette::White;
    Timer1 = Timer{"Timer1", 0, Timer1.onTimer};

    lblDescription.Build("lblDescription", 900, 0, 3945, 1095);
    lblDescription.font = Font{"Verdana", 9, false, false};
    lblDescription.foreColor = 0x00935628;
    lblDescription.alignment = Alignment::Center;
    lblDescription.caption = "Descrizione";

    lblHomePage.Build("lblHomePage", 1860, 3840, 3255, 255);
    lblHomePage.font = Arial(11.25);
    lblHomePage.foreColor = 0x000000FF;
    lblHomePage.alignment = Alignment::Center;
    lblHomePage.autoSize = true;
    lblHomePage.mousePointer = MousePointer::Hand;

    lblCopyright.Build("lblCopyright", 690, 1320, 4380, 435);
    lblCopyright.font = Font{"Verdana", 8.25, false, false};
    lblCopyright.alignment = Alignment::Center;

    Image1.Build("Image1", 1740, 2040, 2250, 1800);

    lblHomePageCap.Build("lblHomePageCap", 720, 3870, 1050, 195);
    lblHomePageCap.font = Font{"Verdana", 8.25, false, false};
    lblHomePageCap.autoSize = true;
    lblHomePageCap.caption = "Home Page:";

    Frame1.Build("Frame1", -60, 1140, 6495, 25);
    Frame1.backColor = 0x00CA5C02;
    Frame1.foreColor = 0x00CA5C02;

    lblVersion.Build("lblVersion", 4800, 510, 720, 195);
    lblVersion.font = Font{"Verdana", 8.25, true, false};
    lblVersion.foreColor = 0x00000080;
    lblVersion.autoSize = true;
    lblVersion.caption = "Rel. 1.0";

    lblTitle.Build("lblTitle", 900, 330, 2490, 375);
    lblTitle.font = Font{"Verdana", 15.75, true, false};
    lblTitle.foreColor = 0x00CA5C02;
    lblTitle.autoSize = true;
    lblTitle.caption = "Software Free";

    imgTitle.Build("imgTitle", 0, 0, 1155, 1125);
}

std::vector<Control*> FrmAbout::Controls() {
    return {&Picture1,       &Picture2, &lblDescription, &lblHomePage, &lblCopyright, &Image1,
            &lblHomePageCap, &Frame1,   &lblVersion,     &lblTitle,    &imgTitle};
}

}  // namespace scorvane
