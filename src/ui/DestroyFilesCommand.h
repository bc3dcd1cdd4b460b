#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/WindowServices.h"

namespace scorvane {

class Program;

// The question before a run of the files command, a drop or a command-line list: Yes/No with the
// information icon and No as the default.
inline constexpr int kQuestionStyle =
    MessageStyle::YesNo | MessageStyle::Information | MessageStyle::SecondButtonDefault;

// The destroy-files command: the user picks files, confirms, and each is wiped with the chosen method
// while the progress window's bar moves over the entries; the run ends with the completion message or,
// with the shut-down option ticked, a shutdown. After a start with a command line it ends the program
// instead of returning, unless the question is answered No: at a stop, or at the end (also of no pick).
void Command1_Click(Program& program);
// The open-file dialog's answer: the NUL-filled buffer, or the empty text when nothing was picked.
std::string GetFiles(Program& program);

// The text split at every NUL, in order; two NULs in a row give an empty entry; the empty text gives none.
std::vector<std::string> SplitAtNul(std::string_view text);
// Loads the progress window, shows its heading and the window, and hides the main window.
void OpenProgressWindow(Program& program);
// Hides the heading and unloads the progress window, only when it is loaded: loading it again would
// clear a stop request.
void CloseProgressWindow(Program& program);

}  // namespace scorvane
