#pragma once

namespace scorvane {

class Program;

// The main window's own handlers.
void Combo1_Click(Program& program);
// Shows the chosen method's description (10 pt for the 35-pass method) with its shadow and rewrites
// the settings file.
void Combo1_Change(Program& program);
// Toggles the shut-down option.
void Label4_Click(Program& program);
// The hover highlight of the two label buttons: 20 twips right and down, and white, once.
void Command1_MouseMove(Program& program);
void Command3_MouseMove(Program& program);
void Form1_MouseMove(Program& program);
// Closing the main window or its Exit entry ends the program at once.
void Form1_Unload(Program& program);
void mnuEsci_Click(Program& program);

}  // namespace scorvane
