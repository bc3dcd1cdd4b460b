#pragma once

namespace scorvane {

class Program;

// The destroy-folder command: wipes every file of a folder tree, then gives every folder random names
// and removes it, deepest first. The folder is FolderToWipe when that is set (no question asked),
// else the one the user picks and confirms. After a start with a command line it can end the program
// instead of returning: at a stop during a file's wipe (WipeFile), and when the run of the command
// line's own folder (StartedWithFolder) is done or stopped in its second walk.
void Command3_Click(Program& program);

// The menu entry of the same command.
void mnuDistruggiCartella_Click(Program& program);

}  // namespace scorvane
