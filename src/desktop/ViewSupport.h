#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "model/Controls.h"

namespace scorvane {

// 15 twips to a pixel at 96 dpi.
int TwipsToPixels(Twips twips);
QRect TwipsRect(const Control& control);
// Model texts are UTF-8; CR inside a caption is a line break.
QString ToDisplay(const std::string& text);
QColor ToQColor(Color colour);

// Font, colours, place, visibility and pointer of a control onto its widget.
void ApplyControl(const Control& control, QWidget& widget);
void ApplyLabel(const Control& control, QLabel& label);

// A label that reports clicks and pointer moves to its control's handlers.
class ModelLabel final : public QLabel {
public:
    ModelLabel(Control& control, QWidget* parent, std::function<void()> afterEvent);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    Control& control_;
    std::function<void()> afterEvent_;
};

}  // namespace scorvane
