#pragma once

namespace scorvane {

class Program;

// The language entry: the user picks a language file in the program's language folder; its name
// becomes LangFile, is saved, and the new texts are loaded and shown with the same method selected.
// Cancelling changes nothing and writes nothing.
void mnuLingua_Click(Program& program);

}  // namespace scorvane
