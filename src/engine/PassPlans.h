#pragma once

#include <span>

namespace scorvane {

enum class PassKind {
    Character,  // a fill character repeated, written as tagged texts
    Byte,       // random bytes from a range, written raw
};

enum class ByteRange {
    AllBytes,  // 0 to 255
    Digits,    // '0' to '9'
};

// The fill of method 0: a random character, drawn anew for every write.
inline constexpr char kRandomCharacter = '\0';

struct Pass {
    PassKind kind;
    char fill;          // character passes: the character, or kRandomCharacter
    ByteRange range;    // byte passes
    int label;          // the pass number shown after the percentage; 0 shows none
    bool repaintFirst;  // repaint the progress window and yield once before hiding the main window
};

inline constexpr int kGutmannMethod = 8;

// The passes of methods 0 to 7, in order. Any other method number wipes as method 0.
std::span<const Pass> PassesOf(int method);

}  // namespace scorvane
