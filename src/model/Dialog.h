#pragma once

#include "model/Controls.h"
#include "model/Window.h"

namespace scorvane {

// The width of the progress bar at 100 %.
inline constexpr Twips kBarFullWidth = 6390;

// The whole part of kBarFullWidth / total * done, capped at the full width.
Twips BarWidth(double total, double done);

// The progress window as built: no title bar, a status text, a heading, the bar in its frame,
// four statistics lines with their shadows, and the Cancel button.
class Dialog final : public Window {
public:
    static constexpr Twips kClientWidth = 6915;
    static constexpr Twips kClientHeight = 3315;

    Dialog();

    // Controls, in stored order (front to back).
    Timer Timer1;
    CommandButton CancelButton;
    Shape Shape1;
    Image ImgBar;
    Label Label9;
    Label Label8;
    Label Label2;
    Label Label1;
    Label Label3;
    Label Label4;
    Label Label10;
    Label Label7;
    Label Label6;
    Label Label5;
    Image Image1;

    std::vector<Control*> Controls();

protected:
    void Build() override;
};

}  // namespace scorvane
