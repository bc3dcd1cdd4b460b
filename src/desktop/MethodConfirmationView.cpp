#include "desktop/MethodConfirmationView.h"

namespace scorvane {

MethodConfirmationView::MethodConfirmationView(Form2& window, std::function<void()> afterEvent)
    : QWidget(nullptr, Qt::Dialog), window_(window), afterEvent_(std::move(afterEvent)) {
    Sync();
}

void MethodConfirmationView::Sync() { setWindowTitle(QString::fromStdString(window_.caption)); }

}  // namespace scorvane
