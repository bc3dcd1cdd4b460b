#pragma once

#include <QPushButton>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <tuple>

#include "desktop/ModelView.h"
#include "desktop/ViewSupport.h"
#include "model/Dialog.h"

namespace scorvane {

// Draws the progress window from its model: background, bar frame, bar, texts and the Cancel button.
class ProgressWindowView final : public QWidget, public ModelView {
public:
    ProgressWindowView(Dialog& dialog, std::function<void()> afterEvent);
    // Everything from the model onto the widgets, touching only what changed since the last time.
    void Sync() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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
};

}  // namespace scorvane
