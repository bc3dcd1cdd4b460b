#include "model/Window.h"

namespace scorvane {

void Window::Load(WindowHost& host) {
    if (loaded_) return;
    host_ = &host;
    Build();
    loaded_ = true;
    if (onLoad) onLoad();
}

void Window::Show() {
    visible = true;
    if (host_) host_->Shown(*this);
}

void Window::ShowModal() {
    visible = true;
    modal_ = true;
    if (host_) host_->RunModal(*this);
    modal_ = false;
}

void Window::Hide() {
    visible = false;
    if (host_) host_->Hidden(*this);
}

void Window::Unload() {
    if (!loaded_) return;
    if (onUnload) onUnload();
    if (!loaded_) return;  // the unload handler may have unloaded it already
    loaded_ = false;
    visible = false;
    if (host_) host_->Unloaded(*this);
    Build();
}

void Window::Refresh() {
    if (host_ && loaded_) host_->Refresh(*this);
}

}  // namespace scorvane
