#include "engine/WipeHelpers.h"

#include <cmath>

#include "model/Program.h"

namespace scorvane {

void ClearAttributes(Program& program, const std::string& path) {
    (void)program.files().SetAttributes(path, Attribute::Normal);
    (void)program.files().SetAttributes(path, Attribute::Archive);
}

void SetNormalAttributes(Program& program, const std::string& path) {
    (void)program.files().SetAttributes(path, Attribute::Normal);
}

char RandomFillCharacter(Program& program) {
    const double code = std::nearbyint(program.random().NextUnit() * 254.0 + 1.0);
    return static_cast<char>(static_cast<unsigned char>(code));
}

char RandomNameLetter(Program& program) {
    return static_cast<char>(std::floor(program.random().NextUnit() * 25.0 + 65.0));
}

}  // namespace scorvane
