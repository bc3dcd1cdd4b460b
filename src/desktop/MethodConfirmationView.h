#pragma once

#include <QWidget>
#include <functional>

#include "desktop/ModelView.h"
#include "model/Form2.h"

namespace scorvane {

// Draws the method confirmation window of a command-line start from its model and turns Qt events into calls of its handlers.
class MethodConfirmationView final : public QWidget, public ModelView {
public:
    MethodConfirmationView(Form2& window, std::function<void()> afterEvent);
    void Sync() override;

private:
    Form2& window_;
    std::function<void()> afterEvent_;
};

}  // namespace scorvane
