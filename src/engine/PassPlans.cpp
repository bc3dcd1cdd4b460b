#include "engine/PassPlans.h"

#include <array>

namespace scorvane {

namespace {
constexpr Pass Chars(char fill, int label = 0, bool repaintFirst = false) {
    return Pass{PassKind::Character, fill, ByteRange::AllBytes, label, repaintFirst};
}
constexpr Pass Bytes(ByteRange range, int label = 0) { return Pass{PassKind::Byte, ' ', range, label, false}; }

constexpr Pass kMethod0[] = {Chars(kRandomCharacter)};
constexpr Pass kMethod1[] = {Chars('0', 0, true)};
constexpr Pass kMethod2[] = {Bytes(ByteRange::AllBytes)};
constexpr Pass kMethod3[] = {Chars('0', 0, true), Bytes(ByteRange::AllBytes)};
constexpr Pass kMethod4[] = {Chars('0', 0, true), Chars('1'), Bytes(ByteRange::AllBytes)};
constexpr Pass kMethod5[] = {Chars('0', 1),
                             Chars('0', 2),
                             Chars('0', 3),
                             Chars('1', 4),
                             Chars('1', 5),
                             Chars('1', 6),
                             Bytes(ByteRange::AllBytes, 7)};
constexpr Pass kMethod6[] = {Chars('0', 1),
                             Chars('1', 2),
                             Chars('0', 3),
                             Chars('1', 4),
                             Chars('0', 5),
                             Chars('1', 6),
                             Bytes(ByteRange::AllBytes)};
// Blanks: the first character of the decimal texts " 255" and " 0".
constexpr Pass kMethod7[] = {Chars(' ', 1),
                             Chars(' ', 2),
                             Bytes(ByteRange::Digits, 3),
                             Bytes(ByteRange::Digits, 4),
                             Bytes(ByteRange::Digits, 5),
                             Bytes(ByteRange::Digits, 6),
                             Bytes(ByteRange::Digits, 7)};

constexpr std::array<Method, kMethodCount> kMethods{{
    {kMethod0, "c", 15},
    {kMethod1, "0", 15},
    {kMethod2, "By", 15},
    {kMethod3, "0By", 15},
    {kMethod4, "01By", 15},
    {kMethod5, "000111By", 15},
    {kMethod6, "01y01y01yB", 15},
    {kMethod7, " y yDyDyDyDyDy", 15},
    {{}, {}, 10},  // Gutmann's 35 passes
}};
}  // namespace

const Method& MethodOf(int number) {
    if (number < 0 || number >= kMethodCount) return kMethods[0];
    return kMethods[static_cast<std::size_t>(number)];
}

std::span<const Pass> PassesOf(int method) {
    return method == kGutmannMethod ? kMethods[0].passes : MethodOf(method).passes;
}

}  // namespace scorvane
