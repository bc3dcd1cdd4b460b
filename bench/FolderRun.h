#pragma once

#include <string>

#include "RunHooks.h"

namespace scorvane {

class Program;

// The destroy-folder command's work on PATH, as for a folder handed to it: the program starts (main
// window up), FolderToWipe is set and Command3_Click wipes the tree by METHOD; the seconds are printed.
// Returns the exit status: 0 only when the tree is gone, its bytes were all written over and no
// message was shown (`messages` counts them).
int RunFolderCase(Program& program, int method, const std::string& path, const int& messages,
                  const RunHooks& hooks = {});

}  // namespace scorvane
