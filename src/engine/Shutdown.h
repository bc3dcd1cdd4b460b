#pragma once

#include <functional>

#include "platform/Result.h"

namespace scorvane {

class Program;

// Powers the system off: "systemctl poweroff", or "shutdown -h now" when that could not be started, and
// waits for the tool. A tool that could not be started, or that ended with a status other than 0 (no
// permission, no login manager), is a failure: the tool's last words and its status.
Result<void> Shutdown(Program& program);

// The end of a run that completed: `showCompletion` (the run's completion box) when "Shut down when
// finished" is not ticked, otherwise the shutdown; a shutdown that fails shows the completion box
// followed by the failure, as the engine's failure boxes show one.
void EndCompletedRun(Program& program, const std::function<void()>& showCompletion);

}  // namespace scorvane
