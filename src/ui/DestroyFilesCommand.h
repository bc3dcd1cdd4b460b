#pragma once

#include <string>

namespace scorvane {

class Program;

// The destroy-files command: the user picks files, confirms, and each is wiped with the chosen method
// while the progress window's bar moves over the entries; the run ends with the completion message or,
// with the shut-down option ticked, a shutdown. After a start with a command line it ends the program
// instead of returning, unless the question is answered No: at a stop, or at the end (also of no pick).
void Command1_Click(Program& program);
// The open-file dialog's answer: the NUL-filled buffer, or the empty text when nothing was picked.
std::string GetFiles(Program& program);

}  // namespace scorvane
