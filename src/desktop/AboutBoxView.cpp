#include "desktop/AboutBoxView.h"

namespace scorvane {

AboutBoxView::AboutBoxView(FrmAbout& window, std::function<void()> afterEvent)
    : QWidget(nullptr, Qt::Dialog), window_(window), afterEvent_(std::move(afterEvent)) {
    Sync();
}

void AboutBoxView::Sync() { setWindowTitle(QString::fromStdString(window_.caption)); }

}  // namespace scorvane
