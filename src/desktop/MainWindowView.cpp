#include "desktop/MainWindowView.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>

#include "desktop/Accessibility.h"
#include "desktop/Artwork.h"
#include "desktop/ControlColours.h"
#include "ui/DropHandling.h"

namespace scorvane {

namespace {
// A style sheet is costly to apply, and the views are brought up to date at every yield.
void SetStyle(QWidget& widget, const QString& style) {
    if (widget.styleSheet() != style) widget.setStyleSheet(style);
}

// The full paths of a drop, as the bytes of the names; none unless everything dropped is a local file
// or folder. A file manager's URL keeps a name that is not UTF-8 percent-encoded byte for byte.
std::vector<std::string> LocalPaths(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) return {};
    std::vector<std::string> paths;
    for (const QUrl& url : data->urls()) {
        const QString host = url.host();
        if (!url.isLocalFile() || !(host.isEmpty() || host == QStringLiteral("localhost"))) return {};
        std::string path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
        while (path.size() > 1 && path.back() == '/') path.pop_back();
        if (path.empty() || path.front() != '/') return {};
        paths.push_back(std::move(path));
    }
    return paths;
}

// The push button's face and text: the text colour comes with the face's, whatever the theme's text.
QString Colours(Control& control) {
    return QStringLiteral("background-color: %1; color: %2;")
        .arg(ToQColor(control.backColor.value_or(Palette::White)).name(),
             ToQColor(control.foreColor.value_or(Palette::Black)).name());
}

// The drop-down of a list shows its longest entry whole, however narrow the closed box.
void FitDropDown(QComboBox& box) {
    int widest = 0;
    for (int i = 0; i < box.count(); ++i)
        widest = std::max(widest, box.fontMetrics().horizontalAdvance(box.itemText(i)));
    const int wanted =
        widest + 4 * box.fontMetrics().averageCharWidth() + box.view()->verticalScrollBar()->sizeHint().width();
    if (box.view()->minimumWidth() != wanted) box.view()->setMinimumWidth(wanted);
}
}  // namespace

// The client area: the background picture, the pointer moving over the window's own surface, and drops.
class MainWindowView::Surface final : public QWidget {
public:
    using DropHook = std::function<void(const std::vector<std::string>&, int&)>;

    Surface(Form1& form, std::function<void()> afterEvent)
        : form_(form), afterEvent_(std::move(afterEvent)), background_(MainWindowBackground()) {
        setMouseTracking(true);
        setObjectName(QStringLiteral("Form1Surface"));
        setAcceptDrops(true);
    }

    // The controls whose own drop handler takes a drop over them; a drop over any other control is refused.
    void SetDropControls(std::map<QWidget*, Control*> controls) { dropControls_ = std::move(controls); }

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

    // Drops that a control below the pointer does not take itself come here (Qt passes them up).
    void dragEnterEvent(QDragEnterEvent* event) override { Consider(*event); }
    void dragMoveEvent(QDragMoveEvent* event) override { Consider(*event); }
    void dropEvent(QDropEvent* event) override {
        DropHook* hook = HookAt(event->position().toPoint());
        const std::vector<std::string> paths = LocalPaths(event->mimeData());
        if (hook == nullptr || paths.empty()) {
            event->ignore();
            return;
        }
        Offer(*event);
        // The run starts once the drop is over, so that the drag source is not kept waiting by its
        // question and progress. Local files and folders are a drop that allows all three effects,
        // whatever the file manager offers.
        QMetaObject::invokeMethod(
            this,
            [this, hook, paths] {
                int effect = kAllDropEffects;
                (*hook)(paths, effect);
                afterEvent_();
            },
            Qt::QueuedConnection);
    }

private:
    // The drop handler of the control under the pointer, or of the window over its bare surface.
    DropHook* HookAt(QPoint position) {
        QWidget* child = childAt(position);
        if (child == nullptr) return form_.onOLEDragDrop ? &form_.onOLEDragDrop : nullptr;
        while (child->parentWidget() != this) child = child->parentWidget();
        const auto found = dropControls_.find(child);
        if (found == dropControls_.end() || !found->second->onOLEDragDrop) return nullptr;
        return &found->second->onOLEDragDrop;
    }

    void Consider(QDropEvent& event) {
        if (HookAt(event.position().toPoint()) == nullptr || LocalPaths(event.mimeData()).empty()) {
            event.ignore();
            return;
        }
        Offer(event);
    }

    // A copy for the drag source where it allows one: a "move" could make the source delete its data.
    static void Offer(QDropEvent& event) {
        if (event.possibleActions() & Qt::CopyAction) {
            event.setDropAction(Qt::CopyAction);
            event.accept();
        } else {
            event.acceptProposedAction();
        }
    }

    Form1& form_;
    std::function<void()> afterEvent_;
    QImage background_;
    std::map<QWidget*, Control*> dropControls_;
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
    connect(check1_, &QCheckBox::clicked, this,
            [this](bool ticked) { Handle([this, ticked] { form_.Check1.value = ticked ? 1 : 0; }); });

    command2_ = new QPushButton(surface_);
    command2_->setObjectName(QStringLiteral("Command2"));
    connect(command2_, &QPushButton::clicked, this, [this] { Handle(form_.Command2.onClick); });

    combo1_ = new QComboBox(surface_);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    ExposeByName(*combo1_);
    connect(combo1_, &QComboBox::activated, this,
            [this](int index) { Handle([this, index] { (void)form_.Combo1.SetListIndex(index); }); });

    drive1_ = new QComboBox(surface_);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    connect(drive1_, &QComboBox::activated, this,
            [this](int index) { Handle([this, index] { (void)form_.Drive1.SetListIndex(index); }); });

    timer1_ = new QTimer(this);
    connect(timer1_, &QTimer::timeout, this, [this] { Handle(form_.Timer1.onTimer); });

    // Shadows first, so that the texts they shadow lie on top of them.
    for (Label* label : {&form_.Label3, &form_.Label9, &form_.Label1, &form_.Command3, &form_.Command1, &form_.Label4,
                         &form_.Label2}) {
        labels_[label] = new ModelLabel(*label, surface_, afterEvent_);
    }
    labels_[&form_.Label1]->setWordWrap(false);
    labels_[&form_.Label1]->setBuddy(combo1_);
    for (Label* button : {&form_.Command1, &form_.Command3}) {
        labels_[button]->ActAsButton();
        ExposeAsButton(*labels_[button]);
    }

    std::map<QWidget*, Control*> dropControls{{combo1_, &form_.Combo1}};
    for (auto& [label, view] : labels_) dropControls[view] = label;
    for (auto& [widget, control] : dropControls) widget->setAcceptDrops(control->acceptsDrops);
    surface_->SetDropControls(std::move(dropControls));

    // Focus moves through the list, the drives, the push button and the option, and reaches the two
    // label buttons where they are read: after the list, above the drives. List2 is never reached.
    list2_->setFocusPolicy(Qt::NoFocus);
    QWidget::setTabOrder(combo1_, labels_[&form_.Command1]);
    QWidget::setTabOrder(labels_[&form_.Command1], labels_[&form_.Command3]);
    QWidget::setTabOrder(labels_[&form_.Command3], drive1_);
    QWidget::setTabOrder(drive1_, command2_);
    QWidget::setTabOrder(command2_, check1_);
    combo1_->setFocus();

    BuildMenus();
    Sync();
    // The highlighted texts lie over their shadows and the description over its panel.
    labels_[&form_.Label9]->raise();
    labels_[&form_.Command1]->raise();
    labels_[&form_.Command3]->raise();
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
            actions_[item] = {menu->menuAction(), {}};
            continue;
        }
        QMenu* parent = menus[item->parent];
        QAction* action = item->caption == "-" ? parent->addSeparator() : parent->addAction(QString());
        action->setObjectName(QString::fromStdString(item->name));
        if (!item->shortcut.empty()) action->setShortcut(QKeySequence(QString::fromStdString(item->shortcut)));
        connect(action, &QAction::triggered, this, [this, item] { Handle(item->onClick); });
        actions_[item] = {action, {}};
    }
}

void MainWindowView::Sync() {
    if (Changed(applied_.caption, form_.caption)) setWindowTitle(ToDisplay(form_.caption));
    if (Changed(applied_.pointer, form_.mousePointer)) {
        surface_->setCursor(form_.mousePointer == MousePointer::Hourglass ? Qt::WaitCursor : Qt::ArrowCursor);
    }

    ApplyControl(form_.List2, *list2_, list2Applied_);
    ApplyControl(form_.Check1, *check1_, check1Applied_);
    if (check1_->isChecked() != (form_.Check1.value == 1)) check1_->setChecked(form_.Check1.value == 1);
    ApplyButton(form_.Command2, *command2_, command2Applied_);
    // A flat face, so that the style does not paint its own gradient over the button's colour.
    if (ColoursChanged(form_.Command2, command2Applied_)) {
        SetStyle(*command2_, QStringLiteral("QPushButton { %1 border: 1px solid #0b1c40; border-radius: 4px; }"
                                            " QPushButton:pressed { padding-top: 2px; }")
                                 .arg(Colours(form_.Command2)));
    }
    const auto applyList = [](auto& control, QComboBox& box, Applied& applied) {
        ApplyControl(control, box, applied);
        if (ColoursChanged(control, applied)) {
            ApplyColours(control, box);
            SetStyle(box, ListBoxStyle(control));
        }
        ApplyItems(control.items, control.listIndex, box, applied);
    };
    applyList(form_.Combo1, *combo1_, combo1Applied_);
    applyList(form_.Drive1, *drive1_, drive1Applied_);
    FitDropDown(*drive1_);
    // The closed box may cut a long mount path: its tooltip shows which file system will be filled.
    if (drive1_->toolTip() != drive1_->currentText()) drive1_->setToolTip(drive1_->currentText());
    NameForAssistiveTechnologies();
    for (auto& [label, view] : labels_) ApplyLabel(*label, *view, view->applied);

    if (form_.Timer1.interval > 0) {
        if (!timer1_->isActive() || timer1_->interval() != form_.Timer1.interval) timer1_->start(form_.Timer1.interval);
    } else if (timer1_->isActive()) {
        timer1_->stop();
    }

    for (auto& [item, menu] : actions_) {
        if (item->caption != "-" && Changed(menu.caption, item->caption))
            menu.action->setText(ToDisplay(item->caption));
        if (menu.action->isVisible() != item->visible) menu.action->setVisible(item->visible);
        if (menu.action->isEnabled() != item->enabled) menu.action->setEnabled(item->enabled);
    }
}

// Each control's name and description from its caption, or from the caption of what it belongs to.
void MainWindowView::NameForAssistiveTechnologies() {
    const auto name = [](QWidget& widget, const std::string& caption, const std::string& description) {
        if (widget.accessibleName() != ToDisplay(caption)) widget.setAccessibleName(ToDisplay(caption));
        if (widget.accessibleDescription() != ToDisplay(description))
            widget.setAccessibleDescription(ToDisplay(description));
    };
    // The method list is named by its label and described by the chosen method.
    const int method = form_.Combo1.listIndex;
    name(*combo1_, form_.Label1.caption,
         method >= 0 && method < static_cast<int>(form_.Combo1.items.size()) ? form_.Label9.caption : std::string());
    name(*drive1_, form_.Command2.caption, form_.Command2.caption);
    name(*command2_, form_.Command2.caption, drive1_->currentText().toStdString());
    name(*check1_, form_.Label4.caption, form_.Label4.caption);
    for (Label* label : {&form_.Command1, &form_.Command3}) name(*labels_[label], label->caption, label->caption);
}

void MainWindowView::closeEvent(QCloseEvent* event) {
    // The model decides: its unload handler ends the program.
    event->ignore();
    form_.Unload();
    afterEvent_();
}

}  // namespace scorvane
