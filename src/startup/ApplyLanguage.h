#pragma once

#include <string_view>

namespace scorvane {

class Program;

// The program's credit line, on the main window's hidden Label2 and in the about box; the language's
// rights-reserved text follows it after " - ".
inline constexpr std::string_view kCreditLine = "Scorvane, the file shredder";

// Puts the texts of Lang on the main window, fills MethodName and MethodDesc, refills the method
// list and restores its position from the stored method index.
void ApplyLanguage(Program& program);

}  // namespace scorvane
