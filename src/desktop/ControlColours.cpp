#include "desktop/ControlColours.h"

#include <QAbstractItemView>
#include <QComboBox>

#include "desktop/ViewSupport.h"

namespace scorvane {

namespace {
struct Pair {
    QColor back, fore;
};

// The control's colours; a missing one is the desktop's light default, the other always given with it.
Pair ColoursOf(const Control& control) {
    Pair pair{control.backColor ? ToQColor(*control.backColor) : QColor(Qt::white),
              control.foreColor ? ToQColor(*control.foreColor) : QColor(Qt::black)};
    return pair;
}
}  // namespace

void ApplyColours(const Control& control, QWidget& widget) {
    const auto [back, fore] = ColoursOf(control);
    QPalette palette = widget.palette();
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button})
        palette.setColor(role, back);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) palette.setColor(role, fore);
    if (widget.palette() != palette) widget.setPalette(palette);
    if (auto* box = qobject_cast<QComboBox*>(&widget); box != nullptr && box->view()->palette() != palette)
        box->view()->setPalette(palette);
}

QString ListBoxStyle(const Control& control) {
    const auto [back, fore] = ColoursOf(control);
    // A border of its own makes the style draw the whole box in these colours, whatever the theme.
    return QStringLiteral(
               "QComboBox { background-color: %1; color: %2; border: 1px solid %3; border-radius: 3px;"
               " padding: 1px 4px; }"
               " QComboBox QAbstractItemView { background-color: %1; color: %2; selection-background-color: %2;"
               " selection-color: %1; }")
        .arg(back.name(), fore.name(), back.darker(160).name());
}

}  // namespace scorvane
