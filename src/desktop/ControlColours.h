#pragma once

#include <QString>
#include <QWidget>

#include "model/Controls.h"

namespace scorvane {

// A control's own colours, applied so that its text stays readable under any desktop theme: wherever
// the model gives one colour of a pair (back and fore), the other comes with it, and the view draws
// both itself instead of leaving one of them to a light or dark theme.

// The widget's palette (window, base, button and their texts) from the control's colours.
void ApplyColours(const Control& control, QWidget& widget);
// The style sheet of a drop-down list in the control's colours, its list of choices included.
QString ListBoxStyle(const Control& control);

}  // namespace scorvane
