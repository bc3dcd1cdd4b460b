#include "desktop/ProgressWindowView.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>

#include "desktop/Artwork.h"

namespace scorvane {

ProgressWindowView::ProgressWindowView(Dialog& dialog, std::function<void()> afterEvent)
    : QWidget(nullptr, Qt::Dialog | Qt::FramelessWindowHint),
      dialog_(dialog),
      afterEvent_(std::move(afterEvent)),
      background_(ProgressBackground()),
      barStrip_(ProgressBarStrip()) {
    setObjectName(QStringLiteral("Dialog"));
    setFixedSize(TwipsToPixels(dialog_.width), TwipsToPixels(dialog_.height));

    // Shadows first, then the white texts over them.
    for (Label* label : {&dialog_.Label5, &dialog_.Label6, &dialog_.Label7, &dialog_.Label10, &dialog_.Label4,
                         &dialog_.Label3, &dialog_.Label1, &dialog_.Label2, &dialog_.Label8, &dialog_.Label9}) {
        labels_[label] = new ModelLabel(*label, this, afterEvent_);
    }
    cancel_ = new QPushButton(this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    cancel_->setFocusPolicy(Qt::StrongFocus);
    cancel_->installEventFilter(this);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (dialog_.CancelButton.onClick) dialog_.CancelButton.onClick();
        afterEvent_();
    });
    Apply();
}

void ProgressWindowView::Sync() {
    if (pace_.Due()) Apply();
}

void ProgressWindowView::Refresh() {
    if (!pace_.Due()) return;
    Apply();
    // What changed is painted now, without waiting for the next turn of the event loop.
    QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
}

void ProgressWindowView::setVisible(bool visible) {
    if (visible != isVisible()) {
        Apply();
        if (!visible) QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
    }
    QWidget::setVisible(visible);
}

void ProgressWindowView::Apply() {
    pace_.Done();
    if (Changed(pointer_, dialog_.mousePointer)) {
        setCursor(dialog_.mousePointer == MousePointer::Hourglass ? Qt::WaitCursor : Qt::ArrowCursor);
    }
    for (auto& [label, view] : labels_) ApplyLabel(*label, *view, view->applied);
    // The window has no title bar: assistive technologies name it by its heading, in one line.
    const QString heading = ToDisplay(dialog_.Label9.caption).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (accessibleName() != heading) setAccessibleName(heading);
    ApplyButton(dialog_.CancelButton, *cancel_, cancelApplied_);
    if (Changed(painted_, std::tuple(dialog_.backColor.value_or(0), dialog_.Image1.visible, dialog_.Shape1.visible,
                                     TwipsRect(dialog_.Shape1), dialog_.ImgBar.visible, TwipsRect(dialog_.ImgBar)))) {
        update();
    }
}

void ProgressWindowView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(dialog_.backColor.value_or(0)));
    if (dialog_.Image1.visible) painter.drawImage(0, 0, background_);
    if (dialog_.Shape1.visible) {
        painter.setPen(Qt::black);
        painter.drawRect(TwipsRect(dialog_.Shape1).adjusted(0, 0, -1, -1));
    }
    if (dialog_.ImgBar.visible && dialog_.ImgBar.width > 0) {
        painter.drawImage(TwipsRect(dialog_.ImgBar), barStrip_);
    }
}

void ProgressWindowView::keyPressEvent(QKeyEvent* event) {
    int key = KeyAscii(*event);
    if (key != 0 && dialog_.onKeyPress) {
        dialog_.onKeyPress(key);
        afterEvent_();
    }
}

bool ProgressWindowView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cancel_ && event->type() == QEvent::KeyPress) {
        int key = KeyAscii(*static_cast<QKeyEvent*>(event));
        if (key != 0 && dialog_.CancelButton.onKeyPress) {
            dialog_.CancelButton.onKeyPress(key);
            afterEvent_();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ProgressWindowView::closeEvent(QCloseEvent* event) {
    // Closing the progress window by any means is a stop request; the run unloads it.
    event->ignore();
    if (dialog_.CancelButton.onClick) dialog_.CancelButton.onClick();
    afterEvent_();
}

}  // namespace scorvane
