#pragma once

#include <QPushButton>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <tuple>

#include "desktop/FramePace.h"
#include "desktop/ModelView.h"
#include "desktop/ViewSupport.h"
#include "model/Dialog.h"

namespace scorvane {

// Draws the progress window from its model: background, bar frame, bar, texts and the Cancel button.
// A wipe moves the bar and the texts at every chunk; the window follows at the display's pace.
class ProgressWindowView final : public QWidget, public ModelView {
public:
    ProgressWindowView(Dialog& dialog, std::function<void()> afterEvent);
    // Brings the window up to date, at most once a frame; a later state is applied when the frame ends.
    void Sync() override;
    // Sync, and when that brought the window up to date, repaint it at once.
    void Refresh();
    // The window is shown with its model's state, and draws its model's last state before it is hidden.
    void setVisible(bool visible) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Everything from the model onto the widgets, touching only what changed since the last time.
    void Apply();

    Dialog& dialog_;
    std::function<void()> afterEvent_;
    QImage background_;
    QImage barStrip_;
    QPushButton* cancel_ = nullptr;
    Applied cancelApplied_;
    std::map<Label*, ModelLabel*> labels_;
    std::optional<int> pointer_;
    // What paintEvent draws from the model: back colour, picture, frame and bar.
    std::optional<std::tuple<Color, bool, bool, QRect, bool, QRect>> painted_;
    FramePace pace_{[this] { Apply(); }};
};

}  // namespace scorvane
