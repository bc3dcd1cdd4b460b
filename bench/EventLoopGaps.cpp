#include "EventLoopGaps.h"

namespace scorvane {

EventLoopGaps::EventLoopGaps() {
    turn_.setInterval(0);
    QObject::connect(&turn_, &QTimer::timeout, [this] { Turned(); });
}

void EventLoopGaps::Start() {
    clock_.start();
    last_ = 0;
    longestNs_ = 0;
    longestAt_ = 0;
    turns_ = 0;
    turn_.start();
}

void EventLoopGaps::Stop() {
    Turned();
    turn_.stop();
}

void EventLoopGaps::Turned() {
    const qint64 now = clock_.nsecsElapsed();
    if (now - last_ > longestNs_) {
        longestNs_ = now - last_;
        longestAt_ = now;
    }
    last_ = now;
    ++turns_;
}

}  // namespace scorvane
