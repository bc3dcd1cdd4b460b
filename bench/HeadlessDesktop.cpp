#include "HeadlessDesktop.h"

#include <cstdio>

namespace scorvane {

int HeadlessDesktop::MessageBox(const std::string& text, int, const std::string& title) {
    ++messages;
    std::fprintf(stderr, "message: %s: %s\n", title.c_str(), text.c_str());
    return MessageAnswer::Ok;
}

double HeadlessDesktop::MonotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace scorvane
