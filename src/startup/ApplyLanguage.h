#pragma once

namespace scorvane {

class Program;

// Puts the texts of Lang on the main window, fills MethodName and MethodDesc, refills the method
// list and restores its position from the stored method index.
void ApplyLanguage(Program& program);

}  // namespace scorvane
