#include "desktop/MainWindowView.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>

#include "desktop/Artwork.h"

namespace scorvane {

namespace {
void SetItems(QComboBox& box, const std::vector<std::string>& items, int index) {
    const QSignalBlocker blocker(box);
    bool same = box.count() == static_cast<int>(items.size());
    for (int i = 0; same && i < box.count(); ++i) same = box.itemText(i) == ToDisplay(items[static_cast<std::size_t>(i)]);
    if (!same) {
        box.clear();
        for (const auto& item : items) box.addItem(ToDisplay(item));
    }
    if (box.currentIndex() != index) box.setCurrentIndex(index);
}

// A style sheet is costly to apply, and the views are brought up to date at every yield.
void SetStyle(QWidget& widget, const QString& style) {
    if (widget.styleSheet() != style) widget.setStyleSheet(style);
}

QString Colours(Control& control) {
    QString style;
    if (control.backColor) style += QStringLiteral("background-color: %1;").arg(ToQColor(*control.backColor).name());
    if (control.foreColor) style += QStringLiteral("color: %1;").arg(ToQColor(*control.foreColor).name());
    return style;
}
}  // namespace

// The client area: the background picture, and the pointer moving over the window's own surface.
class MainWindowView::Surface final : public QWidget {
public:
    Surface(Form1& form, std::function<void()> afterEvent)
        : form_(form), afterEvent_(std::move(afterEvent)), background_(MainWindowBackground()) {
        setMouseTracking(true);
        setObjectName(QStringLiteral("Form1Surface"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.drawImage(0, 0, background_);
    }
    void mouseMoveEvent(QMouseEvent*) override {
        if (form_.onMouseMove) {
            form_.onMouseMove();
            afterEvent_();
        }
    }

private:
    Form1& form_;
    std::function<void()> afterEvent_;
    QImage background_;
};

MainWindowView::MainWindowView(Form1& form, std::function<void()> afterEvent)
    : form_(form), afterEvent_(std::move(afterEvent)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(WindowIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setAcceptDrops(true);

    surface_ = new Surface(form_, afterEvent_);
    surface_->setFixedSize(TwipsToPixels(form_.width), TwipsToPixels(form_.height));
    setCentralWidget(surface_);

    list2_ = new QListWidget(surface_);
    list2_->setObjectName(QStringLiteral("List2"));

    check1_ = new QCheckBox(surface_);
    check1_->setObjectName(QStringLiteral("Check1"));
    connect(check1_, &QCheckBox::clicked, this, [this](bool ticked) {
        Handle([this, ticked] { form_.Check1.value = ticked ? 1 : 0; });
    });

    command2_ = new QPushButton(surface_);
    command2_->setObjectName(QStringLiteral("Command2"));
    connect(command2_, &QPushButton::clicked, this, [this] { Handle(form_.Command2.onClick); });

    combo1_ = new QComboBox(surface_);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    connect(combo1_, &QComboBox::activated, this, [this](int index) {
        Handle([this, index] { (void)form_.Combo1.SetListIndex(index); });
    });

    drive1_ = new QComboBox(surface_);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    connect(drive1_, &QComboBox::activated, this, [this](int index) {
        Handle([this, index] { (void)form_.Drive1.SetListIndex(index); });
    });

    timer1_ = new QTimer(this);
    connect(timer1_, &QTimer::timeout, this, [this] { Handle(form_.Timer1.onTimer); });

    // Shadows first, so that the texts they shadow lie on top of them.
    for (Label* label : {&form_.Label3, &form_.Label9, &form_.Label1, &form_.Command3, &form_.Command1,
                         &form_.Label4, &form_.Label2}) {
        labels_[label] = new ModelLabel(*label, surface_, afterEvent_);
    }
    labels_[&form_.Label1]->setWordWrap(false);

    // Focus moves through the list, the drives, the push button and the option; List2 is never reached.
    list2_->setFocusPolicy(Qt::NoFocus);
    QWidget::setTabOrder(combo1_, drive1_);
    QWidget::setTabOrder(drive1_, command2_);
    QWidget::setTabOrder(command2_, check1_);
    combo1_->setFocus();

    BuildMenus();
    Sync();
    adjustSize();
    setFixedSize(sizeHint());
}

void MainWindowView::Handle(const std::function<void()>& handler) {
    if (handler) handler();
    afterEvent_();
}

void MainWindowView::BuildMenus() {
    std::map<std::string, QMenu*> menus;
    for (MenuItem* item : form_.Menus()) {
        if (item->parent.empty()) {
            QMenu* menu = menuBar()->addMenu(QString());
            menu->setObjectName(QString::fromStdString(item->name));
            menus[item->name] = menu;
            actions_[item] = menu->menuAction();
            continue;
        }
        QMenu* parent = menus[item->parent];
        QAction* action = item->caption == "-" ? parent->addSeparator() : parent->addAction(QString());
        action->setObjectName(QString::fromStdString(item->name));
        if (!item->shortcut.empty()) action->setShortcut(QKeySequence(QString::fromStdString(item->shortcut)));
        connect(action, &QAction::triggered, this, [this, item] { Handle(item->onClick); });
        actions_[item] = action;
    }
}

void MainWindowView::Sync() {
    setWindowTitle(ToDisplay(form_.caption));
    surface_->setCursor(form_.mousePointer == MousePointer::Hourglass ? Qt::WaitCursor : Qt::ArrowCursor);

    ApplyControl(form_.List2, *list2_);
    ApplyControl(form_.Check1, *check1_);
    check1_->setChecked(form_.Check1.value == 1);
    ApplyControl(form_.Command2, *command2_);
    command2_->setText(ToDisplay(form_.Command2.caption));
    // A flat face, so that the style does not paint its own gradient over the button's colour.
    SetStyle(*command2_, QStringLiteral("QPushButton { %1 border: 1px solid #0b1c40; border-radius: 4px; }"
                                        " QPushButton:pressed { padding-top: 2px; }")
                             .arg(Colours(form_.Command2)));
    ApplyControl(form_.Combo1, *combo1_);
    SetStyle(*combo1_, Colours(form_.Combo1));
    SetItems(*combo1_, form_.Combo1.items, form_.Combo1.listIndex);
    ApplyControl(form_.Drive1, *drive1_);
    SetItems(*drive1_, form_.Drive1.items, form_.Drive1.listIndex);
    for (auto& [label, view] : labels_) ApplyLabel(*label, *view);
    labels_[&form_.Label9]->raise();
    labels_[&form_.Command1]->raise();
    labels_[&form_.Command3]->raise();

    if (form_.Timer1.interval > 0) {
        if (!timer1_->isActive() || timer1_->interval() != form_.Timer1.interval) timer1_->start(form_.Timer1.interval);
    } else {
        timer1_->stop();
    }

    for (auto& [item, action] : actions_) {
        if (item->caption != "-") action->setText(ToDisplay(item->caption));
        action->setVisible(item->visible);
        action->setEnabled(item->enabled);
    }
}

void MainWindowView::closeEvent(QCloseEvent* event) {
    // The model decides: its unload handler ends the program.
    event->ignore();
    form_.Unload();
    afterEvent_();
}

}  // namespace scorvane
