#pragma once

#include <string>

namespace scorvane {

class Program;

// The attributes to normal, then to archive, so that a read-only file can be written; never fails.
void ClearAttributes(Program& program, const std::string& path);
// The attributes to normal (the owner may read, write and, for a folder, enter); never fails.
void SetNormalAttributes(Program& program, const std::string& path);
// The fill character of method 0: a code from 1 to 255 (round(r * 254 + 1), halves to even).
char RandomFillCharacter(Program& program);
// A capital letter 'A' to 'Y' (whole part of r * 25 + 65), for the new names of wiped files.
char RandomNameLetter(Program& program);

}  // namespace scorvane
