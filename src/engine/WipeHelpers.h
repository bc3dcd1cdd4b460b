#pragma once

#include <cstdint>
#include <string>

#include "platform/Result.h"

namespace scorvane {

class Program;

// The attributes to normal, then to archive, so that a read-only file can be written; never fails.
void ClearAttributes(Program& program, const std::string& path);
// The attributes to normal (the owner may read, write and, for a folder, enter); never fails.
void SetNormalAttributes(Program& program, const std::string& path);
// An integer of [low, high], each equally likely, from the program's cryptographic generator.
// A range wider than 32 bits is failure 6 (overflow).
Result<std::int32_t> RandomInRange(Program& program, std::int32_t low, std::int32_t high);
// The fill character of method 0: a code from 1 to 255 (round(r * 254 + 1), halves to even).
char RandomFillCharacter(Program& program);
// A capital letter 'A' to 'Y' (whole part of r * 25 + 65), for the new names of wiped files.
char RandomNameLetter(Program& program);

}  // namespace scorvane
