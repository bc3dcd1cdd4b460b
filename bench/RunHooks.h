#pragma once

#include <functional>

namespace scorvane {

// What a benchmark does right before and right after the run itself, start-up and checks left out.
struct RunHooks {
    std::function<void()> started;
    std::function<void()> ended;
};

}  // namespace scorvane
