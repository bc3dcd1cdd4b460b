#pragma once

#include <string>

namespace scorvane {

class Program;

// The command-line job of the main window's load, run only when the command line is not blank: the
// settings and texts are read again, the method is confirmed in Form2, then the one folder named on the
// command line goes to the destroy-folder command, or the list of paths to ProcessCommandList. The main
// window is never shown. It ends the program (never returning) when the method is not confirmed, when the
// one folder is the root, and after the list; the one folder's run ends it as the destroy-folder command
// does (a run refused, or stopped in its first walk, may return to the start-up).
void RunCommandLineJob(Program& program);

// The command line with every `" "` (double quote, blank, double quote) replaced by NUL.
std::string BuildCommandList(const std::string& commandLine);

// Wipes every entry of the list (a folder through the destroy-folder command, anything else as a file)
// after one question, then ends the program (it never returns), with no completion message and no shutdown.
void ProcessCommandList(Program& program, const std::string& list);

}  // namespace scorvane
