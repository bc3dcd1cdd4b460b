#pragma once

#include <string>

#include "RunHooks.h"

namespace scorvane {

class Program;

// WipeFile on PATH by METHOD, as the program does it for one chosen file; the seconds are printed.
// Returns the exit status: 0 only when the file is gone, its bytes were all written over and no message
// was shown (`messages` counts them).
int RunWipeCase(Program& program, int method, const std::string& path, const int& messages, const RunHooks& hooks = {});

}  // namespace scorvane
