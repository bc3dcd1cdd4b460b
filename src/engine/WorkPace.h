#pragma once

namespace scorvane {

class Program;

// Long work with no yield of its own (a listing, the files of a folder, the blocks of a pass) yields to
// the event loop at least every kSliceSeconds, so that the windows stay drawn and Cancel and Esc are
// answered however long the work runs. Between yields a step only reads the clock.
class WorkPace {
public:
    static constexpr double kSliceSeconds = 0.02;

    explicit WorkPace(Program& program);

    // A step of work is done: yields when a slice has passed since the last yield of this pace (or since
    // it began). False once a stop is requested (CancelFlag 1).
    bool Step();

private:
    Program& program_;
    double since_;
};

}  // namespace scorvane
