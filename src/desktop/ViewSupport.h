#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/Controls.h"

namespace scorvane {

// 15 twips to a pixel at 96 dpi.
int TwipsToPixels(Twips twips);
QRect TwipsRect(const Control& control);
// Model texts are UTF-8; CR inside a caption is a line break.
QString ToDisplay(const std::string& text);
QColor ToQColor(Color colour);

// What was last applied from a control to its widget. The views are brought up to date far more often
// than their models change, so a sync compares the control with this and touches a widget only where
// its control changed; an empty value has never been applied.
struct Applied {
    std::optional<std::tuple<std::string, double, bool, bool>> font;
    std::optional<int> pointer;
    std::optional<QRect> place;
    std::optional<bool> visible;
    std::optional<std::string> caption;
    std::optional<std::optional<Color>> foreColor;
    std::optional<Alignment> alignment;
    std::optional<bool> autoSize;
    std::optional<std::pair<std::optional<Color>, std::optional<Color>>> colours;  // back and fore, for style sheets
    std::optional<std::vector<std::string>> items;
};

// Stores `now` as applied and says whether it differs from what was applied before.
template <typename T>
bool Changed(std::optional<T>& applied, const T& now) {
    if (applied && *applied == now) return false;
    applied = now;
    return true;
}

// Font, place, visibility and pointer of a control onto its widget; true when its font or place changed.
bool ApplyControl(const Control& control, QWidget& widget, Applied& applied);
// ApplyControl, and the caption, colour, alignment and sizing of a label.
void ApplyLabel(const Control& control, QLabel& label, Applied& applied);
// ApplyControl, and the caption of a button.
void ApplyButton(const Control& control, QAbstractButton& button, Applied& applied);
// The entries and the selected one of a drop-down list, without reporting them as the user's choice.
void ApplyItems(const std::vector<std::string>& items, int index, QComboBox& box, Applied& applied);
// True once after each change of the control's back and fore colours: the moment to set its style sheet.
bool ColoursChanged(const Control& control, Applied& applied);
// The character code of a key press, as the model's key handlers take it (27 for Esc).
int KeyAscii(const QKeyEvent& event);

// A label that reports clicks and pointer moves to its control's handlers.
class ModelLabel final : public QLabel {
public:
    ModelLabel(Control& control, QWidget* parent, std::function<void()> afterEvent);

    // A label used as a button also takes the keyboard focus, shows it with a frame, and is clicked by
    // Space and Enter.
    void ActAsButton();

    Applied applied;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Click();

    Control& control_;
    std::function<void()> afterEvent_;
    bool button_ = false;
};

}  // namespace scorvane
