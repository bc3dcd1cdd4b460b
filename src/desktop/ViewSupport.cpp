#include "desktop/ViewSupport.h"

#include <QMouseEvent>
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

void ApplyControl(const Control& control, QWidget& widget) {
    if (!control.font.name.empty()) {
        QFont font(QString::fromStdString(control.font.name));
        font.setPointSizeF(control.font.size);
        font.setBold(control.font.bold);
        font.setItalic(control.font.italic);
        if (widget.font() != font) widget.setFont(font);
    }
    if (control.mousePointer == MousePointer::Hand) {
        widget.setCursor(HandCursor());
    } else if (control.mousePointer == MousePointer::Hourglass) {
        widget.setCursor(Qt::WaitCursor);
    } else {
        widget.unsetCursor();
    }
    const QRect place = TwipsRect(control);
    if (widget.geometry() != place) widget.setGeometry(place);
    widget.setVisible(control.visible);
}

void ApplyLabel(const Control& control, QLabel& label) {
    const QString text = ToDisplay(control.caption);
    if (label.text() != text) label.setText(text);
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, control.foreColor ? ToQColor(*control.foreColor) : QColor(Qt::black));
    label.setPalette(palette);
    label.setAlignment((control.alignment == Alignment::Center ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    ApplyControl(control, label);
    label.setWordWrap(!control.autoSize);
    if (control.autoSize) label.adjustSize();
}

ModelLabel::ModelLabel(Control& control, QWidget* parent, std::function<void()> afterEvent)
    : QLabel(parent), control_(control), afterEvent_(std::move(afterEvent)) {
    setObjectName(QString::fromStdString(control.name));
    setAttribute(Qt::WA_TranslucentBackground);
    setWordWrap(true);
    setMouseTracking(true);
    setTextFormat(Qt::PlainText);
}

void ModelLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && control_.onClick) {
        control_.onClick();
        afterEvent_();
    }
}

void ModelLabel::mouseMoveEvent(QMouseEvent* event) {
    if (control_.onMouseMove) {
        control_.onMouseMove();
        afterEvent_();
    }
    event->accept();
}

}  // namespace scorvane
