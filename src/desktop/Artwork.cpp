#include "desktop/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <array>
#include <cmath>

namespace scorvane {

namespace {

// The window design places the panels in twips; 15 twips make one pixel.
QRectF FromTwips(int left, int top, int right, int bottom) {
    return QRectF(QPointF(left / 15.0, top / 15.0), QPointF(right / 15.0, bottom / 15.0));
}

QLinearGradient Vertical(qreal top, qreal bottom, const QColor& from, const QColor& to) {
    QLinearGradient gradient(0.0, top, 0.0, bottom);
    gradient.setColorAt(0.0, from);
    gradient.setColorAt(1.0, to);
    return gradient;
}

struct PanelColours {
    QColor top;
    QColor bottom;
    QColor border;
};

// A soft drop shadow, a gradient fill, a light rim and a faint gloss along the top edge.
void DrawPanel(QPainter& painter, const QRectF& area, const PanelColours& colours) {
    constexpr qreal kRadius = 10.0;
    painter.setPen(Qt::NoPen);
    for (int layer = 4; layer >= 1; --layer) {
        const qreal grow = layer * 1.0;
        painter.setBrush(QColor(0, 0, 0, 22));
        painter.drawRoundedRect(area.translated(0.0, 2.0).adjusted(-grow, -grow, grow, grow) , kRadius + grow,
                                kRadius + grow);
    }

    painter.setBrush(Vertical(area.top(), area.bottom(), colours.top, colours.bottom));
    painter.drawRoundedRect(area, kRadius, kRadius);

    QLinearGradient gloss(0.0, area.top(), 0.0, area.top() + qMin(area.height() * 0.5, 40.0));
    gloss.setColorAt(0.0, QColor(255, 255, 255, 40));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(gloss);
    painter.drawRoundedRect(area, kRadius, kRadius);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colours.border, 1.2));
    painter.drawRoundedRect(area.adjusted(0.6, 0.6, -0.6, -0.6), kRadius - 0.6, kRadius - 0.6);
    painter.setPen(QPen(QColor(0, 0, 0, 60), 1.0));
    painter.drawRoundedRect(area.adjusted(-0.5, -0.5, 0.5, 0.5), kRadius + 0.5, kRadius + 0.5);
}

// Paper, shredder body and shreds, laid out on a 64-unit grid and snapped to whole pixels per size.
QImage IconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 64.0;
    const auto at = [unit](qreal value) { return std::round(value * unit); };
    const auto box = [&at](qreal left, qreal top, qreal right, qreal bottom) {
        return QRectF(QPointF(at(left), at(top)), QPointF(at(right), at(bottom)));
    };
    const bool small = size < 32;
    const qreal line = small ? 1.0 : qMax(1.0, std::round(unit * 2.0));
    const QColor ink(10, 24, 56);

    // Shreds first, so the body covers their upper ends.
    const int strips = small ? 4 : 5;
    const qreal stripLeft = small ? 14.0 : 16.0;
    const qreal stripPitch = small ? 9.0 : 7.0;
    const std::array<qreal, 5> stripEnd = {61.0, 57.0, 62.0, 55.0, 60.0};
    for (int index = 0; index < strips; ++index) {
        const qreal left = stripLeft + index * stripPitch;
        const QRectF strip = box(left, 40.0, left + stripPitch - (small ? 4.0 : 2.5), stripEnd.at(index));
        painter.setPen(small ? Qt::NoPen : QPen(ink, line * 0.75));
        painter.setBrush(index % 2 == 0 ? QColor(255, 255, 255) : QColor(214, 54, 54));
        painter.drawRect(small ? strip : strip.adjusted(line * 0.375, 0.0, -line * 0.375, -line * 0.375));
    }

    // The sheet, its lower part already inside the slot.
    const QRectF sheet = small ? box(16.0, 0.0, 48.0, 28.0) : box(16.0, 3.0, 48.0, 30.0);
    const qreal fold = small ? 0.0 : at(9.0);
    QPainterPath paper;
    paper.moveTo(sheet.bottomLeft());
    paper.lineTo(sheet.topLeft());
    paper.lineTo(sheet.right() - fold, sheet.top());
    paper.lineTo(sheet.right(), sheet.top() + fold);
    paper.lineTo(sheet.bottomRight());
    painter.setPen(QPen(ink, line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(QColor(250, 251, 255));
    painter.drawPath(paper.translated(line / 2.0, line / 2.0));
    if (!small) {
        painter.setBrush(QColor(200, 210, 230));
        painter.drawPolygon(QPolygonF({QPointF(sheet.right() - fold, sheet.top()),
                                       QPointF(sheet.right() - fold, sheet.top() + fold),
                                       QPointF(sheet.right(), sheet.top() + fold)})
                                .translated(line / 2.0, line / 2.0));
        painter.setPen(QPen(QColor(120, 140, 175), qMax(1.0, std::round(unit * 2.0))));
        for (qreal y = 11.0; y < 28.0; y += 5.0) {
            const qreal right = y < 13.0 ? 37.0 : 42.0;
            painter.drawLine(QPointF(at(22.0), at(y) + 0.5), QPointF(at(right), at(y) + 0.5));
        }
    } else {
        painter.setPen(QPen(QColor(120, 140, 175), 1.0));
        painter.drawLine(QPointF(6.0, 2.5), QPointF(10.0, 2.5));
        painter.drawLine(QPointF(6.0, 4.5), QPointF(9.0, 4.5));
    }

    // The shredder body.
    const QRectF body = small ? box(0.0, 24.0, 64.0, 44.0) : box(3.0, 24.0, 61.0, 45.0);
    const qreal radius = small ? 1.5 : at(6.0);
    painter.setPen(QPen(ink, line));
    painter.setBrush(Vertical(body.top(), body.bottom(), QColor(78, 132, 222), QColor(28, 72, 160)));
    painter.drawRoundedRect(body.adjusted(line / 2.0, line / 2.0, -line / 2.0, -line / 2.0), radius, radius);
    // The slot the sheet disappears into.
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawRect(small ? box(12.0, 28.0, 52.0, 32.0) : box(11.0, 29.0, 53.0, 32.0));
    // A red band and power light keep the icon in the program's palette.
    painter.setBrush(QColor(214, 54, 54));
    if (small) {
        painter.drawRect(box(48.0, 36.0, 56.0, 40.0));
    } else {
        painter.drawRect(box(11.0, 37.0, 42.0, 40.0));
        painter.setBrush(QColor(120, 255, 150));
        painter.drawEllipse(QRectF(QPointF(at(47.0), at(35.0)), QPointF(at(53.0), at(41.0))));
    }
    return image;
}

// The hand as pixel art: X is the outline, o the white fill, anything else is transparent.
constexpr std::array<const char*, 22> kHand = {
    ".....XX..........", "....XooX.........", "....XooX.........", "....XooX.........",
    "....XooX.........", "....XooXXX.......", "....XooXooXXX....", "....XooXooXooXX..",
    "....XooXooXooXoX.", "XX..XooXooXooXooX", "XoX.XooXooXooXooX", "XooXXoooooooooooX",
    ".XooXoooooooooooX", "..XoooooooooooooX", "..XoooooooooooooX", "...XooooooooooooX",
    "...XoooooooooooX.", "....XooooooooooX.", "....XooooooooooX.", ".....XooooooooX..",
    ".....XooooooooX..", ".....XXXXXXXXXX..",
};

}  // namespace

QImage MainWindowBackground() {
    static const QImage image = [] {
        QImage canvas(722, 367, QImage::Format_RGB32);
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(canvas.rect(), Vertical(0.0, canvas.height(), QColor(0x11, 0x2E, 0x62), QColor(0x09, 0x1A, 0x3C)));
        // A faint glow behind the right-hand controls lifts the field without competing with the panels.
        QRadialGradient glow(QPointF(566.0, 120.0), 320.0);
        glow.setColorAt(0.0, QColor(80, 140, 255, 38));
        glow.setColorAt(1.0, QColor(80, 140, 255, 0));
        painter.fillRect(canvas.rect(), glow);

        const PanelColours red{QColor(0xB8, 0x28, 0x28), QColor(0x86, 0x18, 0x1C), QColor(0xE0, 0x6A, 0x6A, 150)};
        const PanelColours blue{QColor(0x37, 0x6C, 0xC4), QColor(0x24, 0x52, 0xA4), QColor(0x86, 0xAE, 0xF0, 150)};
        DrawPanel(painter, FromTwips(330, 195, 6105, 1020), red);
        DrawPanel(painter, FromTwips(330, 1410, 6105, 4290), red);
        DrawPanel(painter, FromTwips(6450, 330, 10530, 1080), blue);
        DrawPanel(painter, FromTwips(6450, 1410, 10530, 2160), blue);
        DrawPanel(painter, FromTwips(6690, 3090, 10380, 5040), blue);
        return canvas;
    }();
    return image;
}

QImage ProgressBackground() {
    static const QImage image = [] {
        QImage canvas(473, 252, QImage::Format_RGB32);
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(canvas.rect(), Vertical(0.0, canvas.height(), QColor(0x1F, 0x4F, 0x9A), QColor(0x0B, 0x23, 0x50)));
        const QRectF inner = QRectF(canvas.rect()).adjusted(12.5, 12.5, -12.5, -12.5);
        painter.setPen(QPen(QColor(255, 255, 255, 34), 1.0));
        painter.setBrush(Vertical(inner.top(), inner.bottom(), QColor(255, 255, 255, 16), QColor(255, 255, 255, 4)));
        painter.drawRoundedRect(inner, 10.0, 10.0);
        return canvas;
    }();
    return image;
}

QImage ProgressBarStrip() {
    static const QImage image = [] {
        QImage canvas(1, 50, QImage::Format_RGB32);
        QPainter painter(&canvas);
        // A bright upper half over a deeper lower half reads as a glossy bar once stretched sideways.
        QLinearGradient gradient(0.0, 0.0, 0.0, 50.0);
        gradient.setColorAt(0.00, QColor(0xC8, 0xFF, 0xE6));
        gradient.setColorAt(0.08, QColor(0x8C, 0xF5, 0xC4));
        gradient.setColorAt(0.48, QColor(0x3C, 0xD6, 0x8E));
        gradient.setColorAt(0.52, QColor(0x1E, 0xB0, 0x6A));
        gradient.setColorAt(0.90, QColor(0x12, 0x86, 0x50));
        gradient.setColorAt(1.00, QColor(0x0A, 0x5E, 0x38));
        painter.fillRect(canvas.rect(), gradient);
        return canvas;
    }();
    return image;
}

QIcon WindowIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) icon.addPixmap(QPixmap::fromImage(IconImage(size)));
    return icon;
}

QCursor HandCursor() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < static_cast<int>(kHand.size()); ++y) {
        for (int x = 0; kHand.at(y)[x] != '\0'; ++x) {
            const char pixel = kHand.at(y)[x];
            if (pixel == 'X') image.setPixel(x, y, qRgba(0, 0, 0, 255));
            if (pixel == 'o') image.setPixel(x, y, qRgba(255, 255, 255, 255));
        }
    }
    return QCursor(QPixmap::fromImage(image), 5, 0);
}

}  // namespace scorvane
