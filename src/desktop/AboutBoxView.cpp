#include "desktop/AboutBoxView.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "desktop/Artwork.h"

namespace scorvane {

namespace {

// Image1, 150 x 120: the shredder on a dark blue panel, as on the main window. Drawn once.
QPixmap CreditsPicture() {
    static const QImage picture = [] {
        QImage image(150, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath panel;
        panel.addRoundedRect(QRectF(2.5, 2.5, 145.0, 115.0), 12.0, 12.0);
        QLinearGradient fill(0.0, 0.0, 0.0, 120.0);
        fill.setColorAt(0.0, QColor(44, 86, 170));
        fill.setColorAt(1.0, QColor(12, 30, 72));
        painter.fillPath(panel, fill);
        painter.setPen(QPen(QColor(10, 24, 56), 1.5));
        painter.drawPath(panel);
        QLinearGradient gloss(0.0, 2.5, 0.0, 50.0);
        gloss.setColorAt(0.0, QColor(255, 255, 255, 60));
        gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter.fillPath(panel, gloss);
        painter.drawPixmap(QRect(31, 16, 88, 88),
                           WindowIcon().pixmap(256).scaled(88, 88, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        return image;
    }();
    return QPixmap::fromImage(picture);
}

// imgTitle, 77 x 75: the window icon on a soft blue glow that fades to white before the title begins.
// Drawn once.
QPixmap TitlePicture() {
    static const QImage picture = [] {
        QImage image(77, 75, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QRadialGradient glow(QPointF(31.0, 38.0), 30.0);
        glow.setColorAt(0.0, QColor(202, 220, 250));
        glow.setColorAt(1.0, QColor(255, 255, 255));
        painter.fillRect(image.rect(), glow);
        painter.drawPixmap(QRect(3, 10, 56, 56),
                           WindowIcon().pixmap(256).scaled(56, 56, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        return image;
    }();
    return QPixmap::fromImage(picture);
}

// A plain area that takes the focus when the model gives it a tab stop.
QWidget* Area(QWidget* parent, const char* name, const QColor& colour, bool focusable) {
    auto* area = new QWidget(parent);
    area->setObjectName(QString::fromLatin1(name));
    area->setAutoFillBackground(true);
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, colour);
    area->setPalette(palette);
    area->setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);
    return area;
}

}  // namespace

AboutBoxView::AboutBoxView(FrmAbout& window, std::function<void()> afterEvent)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      window_(window),
      afterEvent_(std::move(afterEvent)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowIcon(WindowIcon());
    setFixedSize(TwipsToPixels(window_.width), TwipsToPixels(window_.height));
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(8.25);
    setFont(font);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(window_.backColor.value_or(Palette::White)));
    setPalette(palette);

    picture1_ = Area(this, "Picture1", ToQColor(window_.Picture1.backColor.value_or(Palette::White)), true);
    picture1_->installEventFilter(this);
    picture2_ = Area(picture1_, "Picture2", ToQColor(window_.Picture2.backColor.value_or(Palette::White)), true);
    QWidget::setTabOrder(picture1_, picture2_);

    for (Label* label :
         {&window_.lblDescription, &window_.lblHomePage, &window_.lblCopyright, &window_.lblHomePageCap}) {
        labels_[label] = new ModelLabel(*label, picture2_, afterEvent_);
    }
    image1_ = new QLabel(picture2_);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(CreditsPicture());

    frame1_ = Area(this, "Frame1", ToQColor(window_.Frame1.backColor.value_or(Palette::Black)), false);
    // The picture's right edge lies under the title; the transparent title is drawn over it.
    imgTitle_ = new ModelLabel(window_.imgTitle, this, afterEvent_);
    imgTitle_->setPixmap(TitlePicture());
    for (Label* label : {&window_.lblVersion, &window_.lblTitle}) {
        labels_[label] = new ModelLabel(*label, this, afterEvent_);
    }

    // The model's font has no underline; the link keeps its own font, set once here.
    const Font& link = window_.lblHomePage.font;
    QFont linkFont(QString::fromStdString(link.name));
    linkFont.setPointSizeF(link.size);
    linkFont.setBold(link.bold);
    linkFont.setUnderline(true);
    labels_[&window_.lblHomePage]->setFont(linkFont);

    timer1_ = new QTimer(this);
    connect(timer1_, &QTimer::timeout, this, [this] {
        if (window_.Timer1.onTimer) window_.Timer1.onTimer();
        Sync();  // a tick moves the panel and nothing else
    });

    Sync();
    picture1_->setFocus();
}

void AboutBoxView::Sync() {
    if (Changed(applied_.caption, window_.caption)) setWindowTitle(ToDisplay(window_.caption));
    ApplyControl(window_.Picture1, *picture1_, picture1Applied_);
    ApplyControl(window_.Picture2, *picture2_, picture2Applied_);
    ApplyControl(window_.Image1, *image1_, image1Applied_);
    ApplyControl(window_.Frame1, *frame1_, frame1Applied_);
    ApplyControl(window_.imgTitle, *imgTitle_, imgTitle_->applied);
    for (auto& [label, view] : labels_) {
        if (label == &window_.lblHomePage) {
            Control link = *label;
            link.font.name.clear();  // keeps the underlined font of the view
            ApplyLabel(link, *view, view->applied);
        } else {
            ApplyLabel(*label, *view, view->applied);
        }
    }

    if (window_.Timer1.interval > 0) {
        if (!timer1_->isActive() || timer1_->interval() != window_.Timer1.interval) {
            timer1_->start(window_.Timer1.interval);
        }
    } else {
        timer1_->stop();
    }
}

void AboutBoxView::mouseReleaseEvent(QMouseEvent* event) {
    // A click on the window's own surface closes the box; a click that began on a control that does
    // nothing (Picture1, Picture2, Image1, Frame1) reaches here too and is ignored.
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !rect().contains(at) || childAt(at) != nullptr) return;
    window_.Unload();
    afterEvent_();
}

void AboutBoxView::closeEvent(QCloseEvent* event) {
    // The model decides: its unload handler shows the main window again.
    event->ignore();
    window_.Unload();
    afterEvent_();
}

bool AboutBoxView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture1_ && event->type() == QEvent::KeyPress) {
        int key = KeyAscii(*static_cast<QKeyEvent*>(event));
        if (key != 0 && window_.Picture1.onKeyPress) {
            window_.Picture1.onKeyPress(key);
            afterEvent_();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace scorvane
