#include "HeadlessDesktop.h"

#include <cmath>
#include <cstdio>

namespace scorvane {

int HeadlessDesktop::MessageBox(const std::string& text, int, const std::string& title) {
    ++messages;
    std::fprintf(stderr, "message: %s: %s\n", title.c_str(), text.c_str());
    return MessageAnswer::Ok;
}

double HeadlessDesktop::SecondsSinceMidnight() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::fmod(std::chrono::duration<double>(now).count(), 86400.0);
}

double HeadlessDesktop::MonotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace scorvane
