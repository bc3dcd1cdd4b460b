#include "model/Controls.h"

#include <utility>

namespace scorvane {

void Control::Build(std::string controlName, Twips l, Twips t, Twips w, Twips h) {
    name = std::move(controlName);
    left = l;
    top = t;
    width = w;
    height = h;
    visible = true;
    caption.clear();
    tag.clear();
    font = Font{};
    foreColor.reset();
    backColor.reset();
    alignment = Alignment::Left;
    autoSize = false;
    mousePointer = MousePointer::Default;
    acceptsDrops = false;
}

void ComboBox::Clear() {
    items.clear();
    listIndex = -1;
}

void ComboBox::AddItem(std::string item) { items.push_back(std::move(item)); }

Result<> ComboBox::SetListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items.size())) return MakeFailure(FailureNumber::InvalidPropertyValue);
    listIndex = index;
    if (index >= 0 && onClick) onClick();
    return {};
}

std::string DriveListBox::Drive() const {
    if (listIndex < 0 || listIndex >= static_cast<int>(items.size())) return {};
    return items[static_cast<std::size_t>(listIndex)];
}

Result<> DriveListBox::SetListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items.size())) return MakeFailure(FailureNumber::InvalidPropertyValue);
    const bool changed = index != listIndex;
    listIndex = index;
    if (changed && onChange) onChange();
    return {};
}

void MenuItem::Build(std::string itemName, std::string parentName, std::string builtCaption, std::string key) {
    name = std::move(itemName);
    parent = std::move(parentName);
    caption = std::move(builtCaption);
    shortcut = std::move(key);
    visible = true;
    enabled = true;
}

}  // namespace scorvane
