#include "desktop/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>
#include <array>
#include <cmath>
#include <map>

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
        painter.drawRoundedRect(area.translated(0.0, 2.0).adjusted(-grow, -grow, grow, grow), kRadius + grow,
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

// Pixel art with one letter per pixel; letters missing from the palette stay transparent.
template <std::size_t Rows>
QImage FromPixelArt(const std::array<const char*, Rows>& rows, int size, const std::map<char, QRgb>& palette) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < static_cast<int>(Rows); ++y) {
        for (int x = 0; rows.at(y)[x] != '\0'; ++x) {
            const auto colour = palette.find(rows.at(y)[x]);
            if (colour != palette.end()) image.setPixel(x, y, colour->second);
        }
    }
    return image;
}

// The classic hand: X is the outline, o the white fill.
constexpr std::array<const char*, 22> kHand = {
    ".....XX..........", "....XooX.........", "....XooX.........", "....XooX.........", "....XooX.........",
    "....XooXXX.......", "....XooXooXXX....", "....XooXooXooXX..", "....XooXooXooXoX.", "XX..XooXooXooXooX",
    "XoX.XooXooXooXooX", "XooXXoooooooooooX", ".XooXoooooooooooX", "..XoooooooooooooX", "..XoooooooooooooX",
    "...XooooooooooooX", "...XoooooooooooX.", "....XooooooooooX.", "....XooooooooooX.", ".....XooooooooX..",
    ".....XooooooooX..", ".....XXXXXXXXXX..",
};

const QColor kInk(10, 24, 56);
const QColor kRed(214, 54, 54);

// At 16 pixels a drawn icon blurs, so this size is laid out by hand.
constexpr std::array<const char*, 16> kSmallIcon = {
    "....kkkkkk......", "....kwwwwkk.....", "....kwggwwkk....", "....kwwwwwwk....",
    "....kwgggwwk....", "....kwwwwwwk....", ".kkkkkkkkkkkkkk.", "kllllllllllllllk",
    "kbbbbbbbbbbbrrbk", "kddddddddddddddk", ".kkkkkkkkkkkkkk.", "....kwkrkwkrk...",
    "....kwkrkwkrk...", "....kwkrkwkkk...", "....kwkkkwk.....", "....kkk.kkk.....",
};

}  // namespace

// Paper, shredder body and shreds on a 64-unit grid, snapped to whole pixels so edges stay sharp.
QImage IconImage(int size) {
    if (size < 32) {
        return FromPixelArt(kSmallIcon, size,
                            {{'k', kInk.rgb()},
                             {'w', qRgb(250, 251, 255)},
                             {'g', qRgb(130, 150, 185)},
                             {'l', qRgb(96, 150, 236)},
                             {'b', qRgb(52, 104, 196)},
                             {'d', qRgb(32, 74, 156)},
                             {'r', kRed.rgb()}});
    }
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 64.0;
    const auto at = [unit](qreal value) { return std::round(value * unit); };
    const auto box = [&at](qreal left, qreal top, qreal right, qreal bottom) {
        return QRectF(QPointF(at(left), at(top)), QPointF(at(right), at(bottom)));
    };
    const qreal line = qMax(1.0, std::round(size / 40.0));
    const auto inset = [line](const QRectF& area) { return area.adjusted(line / 2, line / 2, -line / 2, -line / 2); };
    const QPen outline(kInk, line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);

    // Shreds first, so the body covers their upper ends; each shares its outline with the next.
    const qreal pitch = std::round(6.0 * unit);
    const qreal stripsLeft = std::round((size - 5.0 * pitch) / 2.0);
    const std::array<qreal, 5> stripEnd = {60.0, 55.0, 62.0, 53.0, 58.0};
    for (int index = 0; index < 5; ++index) {
        const qreal left = stripsLeft + index * pitch;
        QPolygonF shape(inset(QRectF(QPointF(left, at(40.0)), QPointF(left + pitch + line, at(stripEnd.at(index))))));
        if (size >= 64) {
            // Torn ends read as shredded paper once there is room for them.
            shape[2] += QPointF(0.0, index % 2 == 0 ? -at(3.0) : 0.0);
            shape[3] += QPointF(0.0, index % 2 == 0 ? 0.0 : -at(3.0));
        }
        painter.setPen(outline);
        painter.setBrush(index % 2 == 0 ? QColor(250, 251, 255) : kRed);
        painter.drawPolygon(shape);
    }

    // The sheet, its lower part already inside the machine.
    const QRectF sheet = inset(box(15.0, 2.0, 47.0, 30.0));
    const qreal fold = at(9.0);
    const QPolygonF paper({sheet.bottomLeft(), sheet.topLeft(), QPointF(sheet.right() - fold, sheet.top()),
                           QPointF(sheet.right(), sheet.top() + fold), sheet.bottomRight()});
    painter.setPen(outline);
    painter.setBrush(QColor(250, 251, 255));
    painter.drawPolygon(paper);
    painter.setBrush(QColor(196, 208, 230));
    painter.drawPolygon(
        QPolygonF({QPointF(sheet.right() - fold, sheet.top()), QPointF(sheet.right() - fold, sheet.top() + fold),
                   QPointF(sheet.right(), sheet.top() + fold)}));
    const qreal text = qMax(1.0, std::round(unit * 2.5));
    for (const qreal y : {11.0, 16.0, 21.0}) {
        const qreal right = y < 12.0 ? 34.0 : 41.0;
        painter.fillRect(QRectF(at(21.0), at(y), at(right) - at(21.0), text), QColor(130, 150, 185));
    }

    // The shredder body with a gloss on its upper half, a slot and a power light.
    const QRectF body = inset(box(2.0, 26.0, 62.0, 46.0));
    const qreal radius = at(6.0);
    QLinearGradient face(0.0, body.top(), 0.0, body.bottom());
    face.setColorAt(0.0, QColor(104, 160, 240));
    face.setColorAt(0.45, QColor(52, 104, 196));
    face.setColorAt(1.0, QColor(28, 66, 148));
    painter.setPen(outline);
    painter.setBrush(face);
    painter.drawRoundedRect(body, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawRect(box(9.0, 31.0, 55.0, 34.0));
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawRect(QRectF(at(9.0), at(34.0), at(55.0) - at(9.0), qMax(1.0, at(1.0))));
    painter.setBrush(kRed);
    if (size < 64) {
        // A round light only blurs at these sizes.
        painter.drawRect(box(48.0, 37.0, 53.0, 42.0));
    } else {
        painter.setPen(QPen(kInk, line / 2));
        painter.drawEllipse(box(48.0, 37.0, 54.0, 43.0));
    }
    return image;
}

QImage MainWindowBackground() {
    static const QImage image = [] {
        QImage canvas(722, 367, QImage::Format_RGB32);
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(canvas.rect(),
                         Vertical(0.0, canvas.height(), QColor(0x11, 0x2E, 0x62), QColor(0x09, 0x1A, 0x3C)));
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
        painter.fillRect(canvas.rect(),
                         Vertical(0.0, canvas.height(), QColor(0x1F, 0x4F, 0x9A), QColor(0x0B, 0x23, 0x50)));
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

// The icon and the pointer are built once and kept for the life of the process: every copy shares
// their pixmaps, and a static object's destruction could outlive the application object they need.
QIcon WindowIcon() {
    static const QIcon* const icon = [] {
        auto* built = new QIcon;
        for (const int size : {16, 32, 48, 256}) built->addPixmap(QPixmap::fromImage(IconImage(size)));
        return built;
    }();
    return *icon;
}

QCursor HandCursor() {
    static const QCursor* const cursor = new QCursor(
        QPixmap::fromImage(FromPixelArt(kHand, 32, {{'X', qRgb(0, 0, 0)}, {'o', qRgb(255, 255, 255)}})), 5, 0);
    return *cursor;
}

}  // namespace scorvane
