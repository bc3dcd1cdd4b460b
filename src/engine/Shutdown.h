#pragma once

namespace scorvane {

class Program;

// Powers the system off after a completed run: "systemctl poweroff", and "shutdown -h now" when that
// could not be started; neither is waited for, and the caller carries on at once.
void Shutdown(Program& program);

}  // namespace scorvane
