#pragma once

#include <string>

#include "RunHooks.h"

namespace scorvane {

class Program;

// Fills and releases the free space of the file system mounted at MOUNT by METHOD (fill, flush,
// clean-up), as the free-space command does once MOUNT is chosen in the drive list (the program's drive
// list must hold MOUNT); the seconds are printed. Returns the exit status: 0 only when nearly all the
// free space was written, no fill folder stays and exactly the end message was shown.
int RunSpaceCase(Program& program, int method, const std::string& mount, bool root, const int& messages,
                 const RunHooks& hooks = {});

}  // namespace scorvane
