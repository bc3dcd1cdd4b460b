#include "desktop/ViewSupport.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <cmath>

#include "desktop/Artwork.h"

namespace scorvane {

int TwipsToPixels(Twips twips) { return static_cast<int>(std::lround(twips / 15.0)); }

QRect TwipsRect(const Control& control) {
    return QRect(TwipsToPixels(control.left), TwipsToPixels(control.top), TwipsToPixels(control.width),
                 TwipsToPixels(control.height));
}

QString ToDisplay(const std::string& text) {
    QString display = QString::fromStdString(text);
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    display.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return display;
}

QColor ToQColor(Color colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

bool ApplyControl(const Control& control, QWidget& widget, Applied& applied) {
    bool resized = false;
    const Font& model = control.font;
    if (!model.name.empty() && Changed(applied.font, std::tuple(model.name, model.size, model.bold, model.italic))) {
        QFont font(QString::fromStdString(model.name));
        font.setPointSizeF(model.size);
        font.setBold(model.bold);
        font.setItalic(model.italic);
        widget.setFont(font);
        resized = true;
    }
    if (Changed(applied.pointer, control.mousePointer)) {
        if (control.mousePointer == MousePointer::Hand) {
            widget.setCursor(HandCursor());
        } else if (control.mousePointer == MousePointer::Hourglass) {
            widget.setCursor(Qt::WaitCursor);
        } else if (widget.testAttribute(Qt::WA_SetCursor)) {
            widget.unsetCursor();
        }
    }
    if (Changed(applied.place, TwipsRect(control))) {
        widget.setGeometry(*applied.place);
        resized = true;
    }
    if (Changed(applied.visible, control.visible)) widget.setVisible(control.visible);
    return resized;
}

void ApplyLabel(const Control& control, QLabel& label, Applied& applied) {
    bool reflow = false;
    if (Changed(applied.caption, control.caption)) {
        label.setText(ToDisplay(control.caption));
        reflow = true;
    }
    if (Changed(applied.foreColor, control.foreColor)) {
        QPalette palette = label.palette();
        palette.setColor(QPalette::WindowText, control.foreColor ? ToQColor(*control.foreColor) : QColor(Qt::black));
        label.setPalette(palette);
    }
    if (Changed(applied.alignment, control.alignment)) {
        label.setAlignment((control.alignment == Alignment::Center ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    }
    if (ApplyControl(control, label, applied)) reflow = true;
    if (Changed(applied.autoSize, control.autoSize)) {
        label.setWordWrap(!control.autoSize);
        reflow = true;
    }
    if (control.autoSize && reflow) label.adjustSize();
}

void ApplyButton(const Control& control, QAbstractButton& button, Applied& applied) {
    ApplyControl(control, button, applied);
    if (Changed(applied.caption, control.caption)) button.setText(ToDisplay(control.caption));
}

void ApplyItems(const std::vector<std::string>& items, int index, QComboBox& box, Applied& applied) {
    const QSignalBlocker blocker(box);
    if (Changed(applied.items, items)) {
        box.clear();
        for (const auto& item : items) box.addItem(ToDisplay(item));
    }
    // The user may have moved the widget's selection since: the model's stands.
    if (box.currentIndex() != index) box.setCurrentIndex(index);
}

bool ColoursChanged(const Control& control, Applied& applied) {
    return Changed(applied.colours, std::pair(control.backColor, control.foreColor));
}

ModelLabel::ModelLabel(Control& control, QWidget* parent, std::function<void()> afterEvent)
    : QLabel(parent), control_(control), afterEvent_(std::move(afterEvent)) {
    setObjectName(QString::fromStdString(control.name));
    setAttribute(Qt::WA_TranslucentBackground);
    setWordWrap(true);
    setMouseTracking(true);
    setTextFormat(Qt::PlainText);
}

void ModelLabel::ActAsButton() {
    button_ = true;
    setFocusPolicy(Qt::StrongFocus);
}

void ModelLabel::Click() {
    if (!control_.onClick) return;
    control_.onClick();
    afterEvent_();
}

void ModelLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Click();
}

void ModelLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (button_ && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!event->isAutoRepeat()) Click();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ModelLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!button_ || !hasFocus()) return;
    // The frame in the text's own colour, which the window's artwork keeps readable.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 2, Qt::DotLine));
    painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);
}

void ModelLabel::mouseMoveEvent(QMouseEvent* event) {
    if (control_.onMouseMove) {
        control_.onMouseMove();
        afterEvent_();
    }
    event->accept();
}

int KeyAscii(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Escape) return 27;
    const QString text = event.text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

}  // namespace scorvane
