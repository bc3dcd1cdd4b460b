#pragma once

#include <QElapsedTimer>
#include <QTimer>

namespace scorvane {

// The longest time the event loop went without a turn while recording: how long the window could not
// repaint and Cancel or Esc waited. A timer of no interval fires once at every turn of the loop.
class EventLoopGaps {
public:
    EventLoopGaps();
    void Start();
    void Stop();
    double LongestMilliseconds() const { return static_cast<double>(longestNs_) / 1e6; }
    // When the longest gap ended, in seconds from the start.
    double LongestEndedAt() const { return static_cast<double>(longestAt_) / 1e9; }
    long turns() const { return turns_; }

private:
    void Turned();

    QTimer turn_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longestNs_ = 0;
    qint64 longestAt_ = 0;
    long turns_ = 0;
};

}  // namespace scorvane
