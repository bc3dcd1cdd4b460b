#include "engine/Shutdown.h"

#include "model/Program.h"

namespace scorvane {

void Shutdown(Program& program) {
    if (!program.windows().RunCommandLine("systemctl poweroff")) program.windows().RunCommandLine("shutdown -h now");
}

}  // namespace scorvane
