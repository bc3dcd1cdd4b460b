#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scorvane {

// The text without blanks at either end.
std::string Trim(std::string_view text);
// The number at the start of a text: blanks skipped, then as far as the characters can continue a
// number (sign, digits, decimal point, exponent); 0 when there is none.
double LeadingNumber(std::string_view text);
// The nearest 16-bit integer (halves to the even neighbour); nothing when it does not fit.
std::optional<std::int16_t> RoundToInt16(double value);
// The text from its character `count` + 1 on, counting UTF-8 characters; empty when it is shorter.
std::string_view SkipCharacters(std::string_view text, int count);
// The text cut to its first `count` UTF-8 characters.
std::string_view FirstCharacters(std::string_view text, std::size_t count);
// A non-negative number as decimal text without blanks.
inline std::string Decimal(std::int64_t number) { return std::to_string(number); }

}  // namespace scorvane
