#pragma once

#include <QWidget>
#include <functional>

#include "desktop/ModelView.h"
#include "model/FrmAbout.h"

namespace scorvane {

// Draws the about box from its model and turns Qt events into calls of its handlers.
class AboutBoxView final : public QWidget, public ModelView {
public:
    AboutBoxView(FrmAbout& window, std::function<void()> afterEvent);
    void Sync() override;

private:
    FrmAbout& window_;
    std::function<void()> afterEvent_;
};

}  // namespace scorvane
