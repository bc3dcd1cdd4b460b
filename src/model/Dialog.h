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

    // Controls, in stored order (front to back). The four statistics lines of the free-space wipe are
    // white; each has a black shadow a few twips lower right that repeats its text.
    Timer Timer1;
    CommandButton CancelButton;
    Shape Shape1;
    Image ImgBar;
    Label Label9;   // the heading: wiping in progress and please wait, or the stop request
    Label Label8;   // the status: the file and its percentage, or the free-space wipe's percentage
    Label Label2;   // statistics line: written / free kilobytes
    Label Label1;   // statistics line: elapsed time
    Label Label3;   // statistics line: speed
    Label Label4;   // statistics line: time left
    Label Label10;  // shadow of Label4
    Label Label7;   // shadow of Label3
    Label Label6;   // shadow of Label1
    Label Label5;   // shadow of Label2
    Image Image1;

    std::vector<Control*> Controls();

protected:
    void Build() override;
};

}  // namespace scorvane
