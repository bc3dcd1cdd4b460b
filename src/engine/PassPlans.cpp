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

constexpr std::array<std::span<const Pass>, 8> kMethods{kMethod0, kMethod1, kMethod2, kMethod3,
                                                        kMethod4, kMethod5, kMethod6, kMethod7};
}  // namespace

std::span<const Pass> PassesOf(int method) {
    if (method < 0 || method >= static_cast<int>(kMethods.size())) return kMethods[0];
    return kMethods[static_cast<std::size_t>(method)];
}

}  // namespace scorvane
