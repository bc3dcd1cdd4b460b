#pragma once

namespace scorvane {

class Program;

// The program's start: settings, language, the main window shown.
void Main(Program& program);
// Reads "Scorvane.ini" (method and language file), loads the language and applies it. The user's own
// file in the data folder is read when it exists, else the program folder's.
void LoadSettings(Program& program);
// Writes "Scorvane.ini" in the data folder: the method list's position, then the language file name, each
// ended by CR LF. The file is replaced whole (a new file flushed and renamed over it) or left as it was.
void SaveSettings(Program& program);

}  // namespace scorvane
