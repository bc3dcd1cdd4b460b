#include "engine/Shutdown.h"

#include <string>

#include "engine/FailureMessages.h"
#include "model/Program.h"

namespace scorvane {

Result<void> Shutdown(Program& program) {
    std::string tool = "systemctl poweroff";
    Result<CommandEnd> run = program.windows().RunCommandLine(tool);
    if (!run) run = program.windows().RunCommandLine(tool = "shutdown -h now");
    if (!run) return run.failure();
    const CommandEnd& end = run.value();
    if (end.status == 0) return {};
    return Failure{end.status, end.lastError.empty() ? tool : end.lastError};
}

void EndCompletedRun(Program& program, const std::function<void()>& showCompletion) {
    if (program.form1().Check1.value == 0) {
        showCompletion();
        return;
    }
    const Result<void> shutdown = Shutdown(program);
    if (shutdown) return;
    showCompletion();
    ShowWipeFailure(program, shutdown.failure());
}

}  // namespace scorvane
