#pragma once

namespace scorvane {

class Program;

// The destroy-free-space command: refuses the 35-pass method, shows its notice, prepares the progress
// window with its statistics lines, hides the main window and wipes the free space of the drive
// selected in Drive1; the main window is shown again at the end, whatever the outcome.
void Command2_Click(Program& program);

}  // namespace scorvane
