#pragma once

namespace scorvane {

class Program;

// The handlers of Form2, the method confirmation of a command-line start. MethodConfirmed becomes
// true only through the destroy button; any other way of closing the window leaves it false.

// Copies the main window's title and texts, fills the method list and selects the main window's method.
void Form2_Form_Load(Program& program);
void Form2_Combo1_Click(Program& program);
// Shows the chosen method's description with its shadow and passes the method on at once to the main
// window's list (which rewrites the settings file) and to the stored method index.
void Form2_Combo1_Change(Program& program);
// Cancel.
void Form2_Command1_Click(Program& program);
// Destroy.
void Form2_Command2_Click(Program& program);

}  // namespace scorvane
