#include "desktop/FramePace.h"

namespace scorvane {

FramePace::FramePace(std::function<void()> catchUp) {
    catchUp_.setSingleShot(true);
    catchUp_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&catchUp_, &QTimer::timeout, [work = std::move(catchUp)] { work(); });
}

bool FramePace::Due() {
    if (!since_.isValid()) return true;
    const qint64 elapsed = since_.elapsed();
    if (elapsed >= kFrameMs) return true;
    if (!catchUp_.isActive()) catchUp_.start(static_cast<int>(kFrameMs - elapsed));
    return false;
}

void FramePace::Done() {
    since_.start();
    if (catchUp_.isActive()) catchUp_.stop();
}

}  // namespace scorvane
