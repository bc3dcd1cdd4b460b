#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace scorvane {

// Positions and sizes are in twips (1440 to the inch; 15 to a pixel at 96 dpi).
using Twips = int;
// Colours are 0x00BBGGRR.
using Color = std::uint32_t;

namespace Palette {
inline constexpr Color LightGrey = 0x00C0C0C0;  // palette colour 7
inline constexpr Color White = 0x00FFFFFF;      // palette colour 15
inline constexpr Color Black = 0x00000000;
}  // namespace Palette

namespace MousePointer {
inline constexpr int Default = 0;
inline constexpr int Hourglass = 11;
inline constexpr int Hand = 99;  // the program's own pointing hand
}  // namespace MousePointer

enum class Alignment { Left, Center };

struct Font {
    std::string name;  // empty: the desktop's default dialog font
    double size = 0;   // points; 0 with the default font
    bool bold = false;
    bool italic = false;
};

inline Font Arial(double size, bool bold = false, bool italic = false) { return Font{"Arial", size, bold, italic}; }

// What every control of a window holds; the handlers (std::function members) are wired once by the
// application and survive the window's unload, while every other property returns to its built value.
struct Control {
    std::string name;
    Twips left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    std::string caption;
    std::string tag;  // a hidden text property
    Font font;
    std::optional<Color> foreColor;  // empty: the desktop's own
    std::optional<Color> backColor;  // empty: transparent for labels, the desktop's own otherwise
    Alignment alignment = Alignment::Left;
    bool autoSize = false;
    int mousePointer = MousePointer::Default;
    bool acceptsDrops = false;

    std::function<void()> onClick;
    std::function<void()> onMouseMove;
    // A character key while the control has the focus; the handler may change the code.
    std::function<void(int& keyAscii)> onKeyPress;
    // Files or folders dropped on the control: their full paths and the drop effects the source allows
    // (1 copy, 2 move, 4 link).
    std::function<void(const std::vector<std::string>& paths, int& effect)> onOLEDragDrop;

    // Every property to its default and the given place; handlers are kept.
    void Build(std::string controlName, Twips l, Twips t, Twips w, Twips h);
};

struct Label : Control {};
struct CommandButton : Control {};
struct Shape : Control {};
struct Image : Control {
    bool stretch = false;
};

struct CheckBox : Control {
    int value = 0;  // 0 unticked, 1 ticked
};

struct ListBox : Control {
    std::vector<std::string> items;
};

// A drop-down list without typing. Its position is the selected entry, -1 for none; setting a
// position by code runs the click handler, as a choice by the user does.
struct ComboBox : Control {
    std::vector<std::string> items;
    int listIndex = -1;

    void Clear();
    void AddItem(std::string item);
    // 380 (invalid property value) for a position outside -1 to the last entry.
    Result<> SetListIndex(int index);
};

// The list of drives; each entry is a drive text, the whole mount point. A change of the selection
// runs onChange.
struct DriveListBox : Control {
    std::vector<std::string> items;
    int listIndex = -1;
    std::function<void()> onChange;

    // The drive text of the selected entry, empty without one.
    std::string Drive() const;
    Result<> SetListIndex(int index);
};

struct Timer {
    std::string name;
    int interval = 0;  // milliseconds; 0 stops it
    std::function<void()> onTimer;
};

struct MenuItem {
    std::string name;
    std::string caption;   // "&" marks the access key; "-" a separator line
    std::string parent;    // empty for a top-level menu
    std::string shortcut;  // "F1", "Ctrl+F1"
    bool visible = true;
    bool enabled = true;
    std::function<void()> onClick;

    void Build(std::string itemName, std::string parentName, std::string builtCaption, std::string key = {});
};

}  // namespace scorvane
