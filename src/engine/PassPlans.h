#pragma once

#include <span>
#include <string_view>

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
inline constexpr int kMethodCount = 9;

// Everything that tells the wiping methods apart.
struct Method {
    // The passes over a file, in order; empty for the 35-pass method, which writes its own sequence.
    std::span<const Pass> passes;
    // One cycle of the free-space fill: '0', '1' or ' ' a text block of that character, 'c' a text block of
    // a character drawn anew each cycle, 'B' a block of random bytes, 'D' one of random digits, 'y' a
    // yield. Empty for a method that cannot fill free space.
    std::string_view freeSpaceCycle;
    // The font size of the method's description in the main window (the longest one is smaller).
    int descriptionFontSize;
};

// Method `number`; any number outside 0 to 8 (no entry chosen) is method 0.
const Method& MethodOf(int number);
// The passes of methods 0 to 7, in order. Any other method number wipes as method 0.
std::span<const Pass> PassesOf(int method);

}  // namespace scorvane
