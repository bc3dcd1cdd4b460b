#pragma once

#include <QSocketNotifier>
#include <memory>

namespace scorvane {

class Program;

// Catches SIGTERM, SIGINT and SIGHUP for as long as the program runs. During a run (the progress window
// is loaded) the first of them is a click on Cancel, seen at the run's next yield, so that the run ends
// as a stopped one and lets its fill files go; a second one ends the program at once. At any other time
// such a signal ends the program as it would without this watch.
class StopSignalWatch {
public:
    explicit StopSignalWatch(Program& program);

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace scorvane
