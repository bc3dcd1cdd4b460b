#pragma once

#include <string>

namespace scorvane {

class Program;

// The main window's load handler: its title with the version, the free space of the selected drive
// and the colour of the destroy-files button; then, after a start with a command line, the
// command-line job, which ends the program (RunCommandLineJob).
void Form1_Load(Program& program);
// The title: the program's title, a blank, then major.minor.0.revision ("Scorvane 2.5.0.15").
std::string TitleWithVersion(const Program& program);

}  // namespace scorvane
