#include "desktop/MethodConfirmationView.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include "desktop/Artwork.h"
#include "desktop/ControlColours.h"

namespace scorvane {

namespace {
void SetStyle(QWidget& widget, const QString& style) {
    if (widget.styleSheet() != style) widget.setStyleSheet(style);
}

QString ButtonStyle(const Control& button) {
    // White text: the buttons' colour is a very dark blue.
    return QStringLiteral(
               "QPushButton { background-color: %1; color: white; border: 1px solid #0b1c40;"
               " border-radius: 4px; } QPushButton:pressed { padding-top: 2px; }")
        .arg(ToQColor(button.backColor.value_or(0)).name());
}
}  // namespace

MethodConfirmationView::MethodConfirmationView(Form2& window, std::function<void()> afterEvent)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      window_(window),
      afterEvent_(std::move(afterEvent)),
      background_(MainWindowBackground()) {
    setObjectName(QStringLiteral("Form2"));
    setWindowIcon(WindowIcon());
    setFixedSize(TwipsToPixels(window_.width), TwipsToPixels(window_.height));

    // The shadow first, so that the description lies on top of it.
    for (Label* label : {&window_.Label3, &window_.Label9, &window_.Label1}) {
        labels_[label] = new ModelLabel(*label, this, afterEvent_);
    }
    labels_[&window_.Label1]->setWordWrap(false);

    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    connect(combo1_, &QComboBox::activated, this,
            [this](int index) { Handle([this, index] { (void)window_.Combo1.SetListIndex(index); }); });
    command1_ = new QPushButton(this);
    command1_->setObjectName(QStringLiteral("Command1"));
    connect(command1_, &QPushButton::clicked, this, [this] { Handle(window_.Command1.onClick); });
    command2_ = new QPushButton(this);
    command2_->setObjectName(QStringLiteral("Command2"));
    connect(command2_, &QPushButton::clicked, this, [this] { Handle(window_.Command2.onClick); });

    QWidget::setTabOrder(combo1_, command1_);
    QWidget::setTabOrder(command1_, command2_);
    Sync();
    labels_[&window_.Label9]->raise();  // the description over its shadow
    combo1_->setFocus();
}

void MethodConfirmationView::Handle(const std::function<void()>& handler) {
    if (handler) handler();
    afterEvent_();
}

void MethodConfirmationView::Sync() {
    if (Changed(applied_.caption, window_.caption)) setWindowTitle(ToDisplay(window_.caption));
    for (auto& [label, view] : labels_) ApplyLabel(*label, *view, view->applied);

    ApplyControl(window_.Combo1, *combo1_, combo1Applied_);
    if (ColoursChanged(window_.Combo1, combo1Applied_)) {
        ApplyColours(window_.Combo1, *combo1_);
        SetStyle(*combo1_, ListBoxStyle(window_.Combo1));
    }
    ApplyItems(window_.Combo1.items, window_.Combo1.listIndex, *combo1_, combo1Applied_);

    for (auto [control, button, applied] : {std::tuple{&window_.Command1, command1_, &command1Applied_},
                                            std::tuple{&window_.Command2, command2_, &command2Applied_}}) {
        ApplyButton(*control, *button, *applied);
        if (ColoursChanged(*control, *applied)) SetStyle(*button, ButtonStyle(*control));
    }
}

void MethodConfirmationView::paintEvent(QPaintEvent*) {
    // The top-left part of the main window's background, drawn at its own size.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, background_);
}

void MethodConfirmationView::keyPressEvent(QKeyEvent* event) {
    // Esc presses the cancel button.
    if (event->key() == Qt::Key_Escape) {
        Handle(window_.Command1.onClick);
        return;
    }
    QWidget::keyPressEvent(event);
}

void MethodConfirmationView::closeEvent(QCloseEvent* event) {
    // The model decides: the window is unloaded, and the confirmation flag stays as it is.
    event->ignore();
    window_.Unload();
    afterEvent_();
}

}  // namespace scorvane
