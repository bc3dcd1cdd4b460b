#pragma once

namespace scorvane {

class Program;

inline constexpr int kEscape = 27;

// The progress window's handlers.
void Dialog_Form_Load(Program& program);
void Dialog_Form_Unload(Program& program);
// A stop request: the heading says so and CancelFlag becomes 1.
void CancelButton_Click(Program& program);
// Esc (27) is a stop request; any other key is passed on unchanged.
void CancelButton_KeyPress(Program& program, int& keyAscii);
void Dialog_Form_KeyPress(Program& program, int& keyAscii);
// Unloads the progress window when it is loaded, without loading it (which would reset CancelFlag).
void UnloadDialogIfLoaded(Program& program);

}  // namespace scorvane
