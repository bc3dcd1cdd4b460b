#pragma once

#include "model/Controls.h"
#include "model/Window.h"

namespace scorvane {

// The about box as built: title, version, and a credits panel (Picture2) that scrolls inside Picture1.
class FrmAbout final : public Window {
public:
    static constexpr Twips kClientWidth = 6375;
    static constexpr Twips kClientHeight = 3645;

    FrmAbout();

    Image Picture1;
    Image Picture2;  // inside Picture1; the controls below it down to lblHomePageCap lie inside Picture2
    Timer Timer1;
    Label lblDescription;
    Label lblHomePage;
    Label lblCopyright;
    Image Image1;
    Label lblHomePageCap;
    Shape Frame1;
    Label lblVersion;
    Label lblTitle;
    Image imgTitle;

    std::vector<Control*> Controls();

protected:
    void Build() override;
};

}  // namespace scorvane
