#include "desktop/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMouseEvent>

#include "desktop/ViewSupport.h"

namespace scorvane {

namespace {
constexpr const char* kButtonProperty = "scorvaneLabelButton";
constexpr const char* kNamedListProperty = "scorvaneNamedList";

class LabelButton final : public QAccessibleWidget {
public:
    explicit LabelButton(QLabel* label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        const QString caption = static_cast<QLabel*>(widget())->text();
        if (kind == QAccessible::Name)
            return widget()->accessibleName().isEmpty() ? caption : widget()->accessibleName();
        if (kind == QAccessible::Description && widget()->accessibleDescription().isEmpty()) return caption;
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action != pressAction()) return;
        // The label reacts to the release of the left button inside it, as for a click.
        const QPointF centre = QRectF(widget()->rect()).center();
        QMouseEvent release(QEvent::MouseButtonRelease, centre, widget()->mapToGlobal(centre), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget(), &release);
    }
};

// Qt's own drop-down list, except for its name: its drop-down is its one child, and pressing it opens or
// closes the drop-down.
class NamedList final : public QAccessibleWidget {
public:
    explicit NamedList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value || (kind == QAccessible::Name && widget()->accessibleName().isEmpty()))
            return List().currentText();
        return QAccessibleWidget::text(kind);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(List().view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == List().view() ? 0 : -1;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) return;
        if (List().view()->isVisible()) {
            List().hidePopup();
        } else {
            List().showPopup();
        }
    }

private:
    QComboBox& List() const { return *static_cast<QComboBox*>(widget()); }
};

class BarInterface final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit BarInterface(AccessibleBar* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    QString text(QAccessible::Text kind) const override {
        const Dialog& dialog = static_cast<AccessibleBar*>(widget())->dialog();
        if (kind == QAccessible::Name || kind == QAccessible::Description) return ToDisplay(dialog.Label8.caption);
        if (kind == QAccessible::Value) return QStringLiteral("%1%").arg(Percent());
        return QAccessibleWidget::text(kind);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return Percent(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 0; }

private:
    int Percent() const {
        const Image& bar = static_cast<AccessibleBar*>(widget())->dialog().ImgBar;
        const Twips width = bar.visible ? std::clamp<Twips>(bar.width, 0, kBarFullWidth) : 0;
        return static_cast<int>(width * 100 / kBarFullWidth);
    }
};

QAccessibleInterface* Interfaces(const QString& /*className*/, QObject* object) {
    if (auto* bar = dynamic_cast<AccessibleBar*>(object)) return new BarInterface(bar);
    auto* label = qobject_cast<QLabel*>(object);
    if (label != nullptr && label->property(kButtonProperty).toBool()) return new LabelButton(label);
    auto* list = qobject_cast<QComboBox*>(object);
    if (list != nullptr && list->property(kNamedListProperty).toBool()) return new NamedList(list);
    return nullptr;
}
}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(Interfaces);
        return true;
    }();
    (void)installed;
}

void ExposeAsButton(QLabel& label) { label.setProperty(kButtonProperty, true); }

void ExposeByName(QComboBox& list) { list.setProperty(kNamedListProperty, true); }

AccessibleBar::AccessibleBar(const Dialog& dialog, QWidget& view) : QWidget(&view), dialog_(dialog) {
    setObjectName(QStringLiteral("ImgBar"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // The whole length of the bar, so that it is found where the bar is drawn.
    QRect place = TwipsRect(dialog_.ImgBar);
    place.setWidth(TwipsToPixels(kBarFullWidth));
    setGeometry(place);
}

}  // namespace scorvane
