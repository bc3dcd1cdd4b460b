#pragma once

#include "model/Controls.h"
#include "model/Window.h"

namespace scorvane {

// The method confirmation window of a command-line start, as built: the method list with the chosen
// method's description, and the cancel and destroy buttons.
class Form2 final : public Window {
public:
    static constexpr Twips kClientWidth = 6390;
    static constexpr Twips kClientHeight = 5475;

    Form2();

    CommandButton Command2;  // destroy
    CommandButton Command1;  // cancel
    ComboBox Combo1;
    Label Label9;
    Label Label1;
    Label Label3;

    std::vector<Control*> Controls();

protected:
    void Build() override;
};

}  // namespace scorvane
