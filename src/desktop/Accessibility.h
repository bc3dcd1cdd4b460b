#pragma once

#include <QComboBox>
#include <QLabel>
#include <QWidget>

#include "model/Dialog.h"

namespace scorvane {

// What assistive technologies see of the views: a label that acts as a button is exposed as a push
// button with its caption, a drop-down list by its name, and the progress window's painted bar as a
// progress bar named by the progress line. Installed once per process.
void InstallAccessibility();

// Exposes the label as a push button: its caption is its name, and pressing it clicks it.
void ExposeAsButton(QLabel& label);
// Exposes the drop-down list by its accessible name (the caption of its label), its current entry being
// its value; Qt on Linux would name it by its current entry.
void ExposeByName(QComboBox& list);

// A stand-in of the progress window's painted bar for assistive technologies: it draws nothing and
// takes no input, and tells the bar's part of the whole and the progress line of the model.
class AccessibleBar final : public QWidget {
public:
    AccessibleBar(const Dialog& dialog, QWidget& view);
    const Dialog& dialog() const { return dialog_; }

private:
    const Dialog& dialog_;
};

}  // namespace scorvane
