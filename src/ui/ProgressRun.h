#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/WindowServices.h"

namespace scorvane {

class Program;

// What the commands' runs share: the question before a run, and for a run over chosen items (the files
// command, a drop, the command-line list) the list of items and the progress window it shows.

// The style of the question before a run over chosen items: Yes/No, the information icon, No as the default.
inline constexpr int kRunQuestionStyle =
    MessageStyle::YesNo | MessageStyle::Information | MessageStyle::SecondButtonDefault;

// The question before a run, whether to overwrite for good and go on, with `style` and `title`: true
// unless the user answers No.
bool ConfirmRun(Program& program, int style, const std::string& title);

// The text split at every NUL, in order; two NULs in a row give an empty entry; the empty text gives none.
std::vector<std::string> SplitAtNul(std::string_view text);
// Loads the progress window, shows its heading and the window, and only then hides the main window.
void OpenProgressWindow(Program& program);
// Hides the heading and unloads the progress window, only when it is loaded: loading it again would
// clear a stop request.
void CloseProgressWindow(Program& program);

}  // namespace scorvane
