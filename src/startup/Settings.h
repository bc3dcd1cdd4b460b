#pragma once

namespace scorvane {

class Program;

// The program's start: settings, language, the main window shown.
void Main(Program& program);
// Reads "Scorvane.ini" (method and language file), loads the language and applies it.
void LoadSettings(Program& program);
// Writes "Scorvane.ini": the method list's position, then the language file name, each ended by CR LF.
void SaveSettings(Program& program);

}  // namespace scorvane
