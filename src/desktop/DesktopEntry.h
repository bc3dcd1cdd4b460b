#pragma once

#include <functional>

namespace scorvane {

class Program;

// Starts Scorvane on the Qt desktop. Every argument after the program's name is the user's and goes to
// the command-line job as it stands; Qt is handed the program's name alone, so none of its option
// words is ever taken from them. Qt's own standard texts follow the system's language.
// `instead`, when given, is called with the wired program in place of its start and event loop, and
// its answer is returned.
int RunDesktop(int argc, char* argv[], const std::function<int(Program&)>& instead = {});

}  // namespace scorvane
