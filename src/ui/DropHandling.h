#pragma once

#include <string>
#include <vector>

namespace scorvane {

class Program;

// Copy, move and link together: the only drop the program acts on.
inline constexpr int kAllDropEffects = 7;

// Files and folders dropped on the main window: after one question for the whole drop, each file is
// wiped with the chosen method and each folder is handed to the destroy-folder command, in the order
// given; the run ends like the files command, with the completion message (no blanks after it) or a
// shutdown. `effect` holds the drop effects the source allows and is never changed. After a start with
// a command line the run ends the program instead (never returning), at its end or at a stop.
void ProcessDrop(Program& program, const std::vector<std::string>& paths, int& effect);

// The drop handlers of the main window and of its controls that accept drops; each hands the drop on.
void Form1_OLEDragDrop(Program& program, const std::vector<std::string>& paths, int& effect);
void Label1_OLEDragDrop(Program& program, const std::vector<std::string>& paths, int& effect);
void Label4_OLEDragDrop(Program& program, const std::vector<std::string>& paths, int& effect);
void Label9_OLEDragDrop(Program& program, const std::vector<std::string>& paths, int& effect);
void Combo1_OLEDragDrop(Program& program, const std::vector<std::string>& paths, int& effect);

}  // namespace scorvane
