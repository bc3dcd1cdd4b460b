#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>

#include "desktop/ModelView.h"
#include "desktop/ViewSupport.h"
#include "model/FrmAbout.h"

namespace scorvane {

// Draws the about box from its model and turns Qt events into calls of its handlers: Picture1 shows
// the part of the scrolling credits panel Picture2 that lies inside it.
class AboutBoxView final : public QWidget, public ModelView {
public:
    AboutBoxView(FrmAbout& window, std::function<void()> afterEvent);
    void Sync() override;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FrmAbout& window_;
    std::function<void()> afterEvent_;
    QWidget* picture1_ = nullptr;
    QWidget* picture2_ = nullptr;
    QWidget* frame1_ = nullptr;
    QLabel* image1_ = nullptr;
    ModelLabel* imgTitle_ = nullptr;
    QTimer* timer1_ = nullptr;
    std::map<Label*, ModelLabel*> labels_;
    Applied applied_, picture1Applied_, picture2Applied_, image1Applied_, frame1Applied_;
};

}  // namespace scorvane
