#include "engine/WorkPace.h"

#include "model/Program.h"

namespace scorvane {

WorkPace::WorkPace(Program& program) : program_(program), since_(program.windows().MonotonicSeconds()) {}

bool WorkPace::Step() {
    WindowServices& windows = program_.windows();
    if (windows.MonotonicSeconds() - since_ >= kSliceSeconds) {
        windows.Yield();
        since_ = windows.MonotonicSeconds();
    }
    return program_.CancelFlag != 1;
}

}  // namespace scorvane
