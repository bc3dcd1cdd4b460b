#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <map>

#include "desktop/ModelView.h"
#include "desktop/ViewSupport.h"
#include "model/Form2.h"

namespace scorvane {

// Draws the method confirmation window of a command-line start from its model and turns Qt events into calls of its
// handlers.
class MethodConfirmationView final : public QWidget, public ModelView {
public:
    MethodConfirmationView(Form2& window, std::function<void()> afterEvent);
    void Sync() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Handle(const std::function<void()>& handler);

    Form2& window_;
    std::function<void()> afterEvent_;
    QImage background_;
    QComboBox* combo1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    std::map<Label*, ModelLabel*> labels_;
    Applied applied_, combo1Applied_, command1Applied_, command2Applied_;
};

}  // namespace scorvane
