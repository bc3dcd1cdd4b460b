#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/Controls.h"

namespace scorvane {

class Window;

// What draws the windows: the desktop's views, or a recorder in the tests.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void Shown(Window& window) = 0;
    virtual void Hidden(Window& window) = 0;
    virtual void Unloaded(Window& window) = 0;
    // Repaint at once from the model.
    virtual void Refresh(Window& window) = 0;
    // Shows the window and returns only once it has been unloaded.
    virtual void RunModal(Window& window) = 0;
};

// A window as data: its properties, its controls (in the derived classes) and its lifecycle. A window
// that is not loaded is loaded on first touch through the Program, which runs its load handler once.
class Window {
public:
    explicit Window(std::string windowName) : name_(std::move(windowName)) {}
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    const std::string& name() const { return name_; }
    bool IsLoaded() const { return loaded_; }
    bool IsModal() const { return modal_; }

    std::string caption;
    Twips width = 0, height = 0;  // client area
    bool visible = false;
    int mousePointer = MousePointer::Default;
    std::optional<Color> backColor;

    std::function<void()> onLoad;
    std::function<void()> onUnload;
    std::function<void()> onMouseMove;
    std::function<void(int& keyAscii)> onKeyPress;
    std::function<void(const std::vector<std::string>& paths, int& effect)> onOLEDragDrop;

    void Show();
    void ShowModal();
    void Hide();
    // Runs the unload handler, destroys the view and returns every property to its built value.
    void Unload();
    void Refresh();

    // Used by the Program: creates the window hidden and runs its load handler.
    void Load(WindowHost& host);

protected:
    // Every property and control to its value as built (handlers are kept).
    virtual void Build() = 0;

private:
    std::string name_;
    WindowHost* host_ = nullptr;
    bool loaded_ = false;
    bool modal_ = false;
};

}  // namespace scorvane
