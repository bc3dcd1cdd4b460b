#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "desktop/ModelView.h"
#include "desktop/ViewSupport.h"
#include "model/Form1.h"

namespace scorvane {

// Draws the main window from its model and turns Qt events into calls of the model's handlers.
class MainWindowView final : public QMainWindow, public ModelView {
public:
    MainWindowView(Form1& form, std::function<void()> afterEvent);
    // Brings every widget up to date from the model.
    void Sync() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class Surface;
    void BuildMenus();
    void NameForAssistiveTechnologies();
    void Handle(const std::function<void()>& handler);

    Form1& form_;
    std::function<void()> afterEvent_;
    Surface* surface_ = nullptr;
    QListWidget* list2_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QComboBox* drive1_ = nullptr;
    QTimer* timer1_ = nullptr;
    std::map<Label*, ModelLabel*> labels_;
    struct MenuAction {
        QAction* action = nullptr;
        std::optional<std::string> caption;  // as last applied
    };
    std::map<MenuItem*, MenuAction> actions_;
    Applied applied_, list2Applied_, check1Applied_, command2Applied_, combo1Applied_, drive1Applied_;
};

}  // namespace scorvane
