#include "platform/Text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace scorvane {

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

double LeadingNumber(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    const std::size_t start = at;
    auto digits = [&] {
        const std::size_t from = at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
        return at > from;
    };
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    bool any = digits();
    if (at < text.size() && text[at] == '.') {
        ++at;
        any = digits() || any;
    }
    if (!any) return 0;
    std::size_t end = at;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E' || text[at] == 'd' || text[at] == 'D')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        if (digits()) end = at;
    }
    std::string number(text.substr(start, end - start));
    for (char& c : number) {
        if (c == 'd' || c == 'D') c = 'e';
    }
    // A number beyond a double's range stays infinite, so that it fits no smaller type either.
    return std::strtod(number.c_str(), nullptr);
}

std::optional<std::int16_t> RoundToInt16(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

namespace {
bool IsContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

std::size_t CharactersEnd(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t seen = 0; seen < count && at < text.size(); ++seen) {
        ++at;
        while (at < text.size() && IsContinuation(text[at])) ++at;
    }
    return at;
}
}  // namespace

std::string_view SkipCharacters(std::string_view text, int count) {
    const std::size_t at = CharactersEnd(text, static_cast<std::size_t>(count));
    return at >= text.size() ? std::string_view{} : text.substr(at);
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    return text.substr(0, CharactersEnd(text, count));
}

}  // namespace scorvane
