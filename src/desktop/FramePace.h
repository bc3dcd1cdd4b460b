#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace scorvane {

// The display's pace for work that may be asked for thousands of times a second, such as bringing a
// view up to date at every yield of a wipe: it is done at most once a frame, and what is asked for
// sooner is done by the event loop when that frame ends, so the latest state is never left undrawn.
class FramePace {
public:
    static constexpr int kFrameMs = 15;

    // `catchUp` does the put-off work at the end of a frame.
    explicit FramePace(std::function<void()> catchUp);

    // True when the work may be done now; otherwise it is put off to the end of the frame.
    bool Due();
    // The work was just done: a new frame starts, and nothing is put off any more.
    void Done();

private:
    QElapsedTimer since_;
    QTimer catchUp_;
};

}  // namespace scorvane
