#pragma once

#include <string>
#include <string_view>

namespace scorvane {

// The platform's path separator; every rule that looks for, adds or removes "the separator" uses it.
inline constexpr char kSeparator = '/';

// The text after the last separator (the whole path when it has none).
std::string_view NamePart(std::string_view path);
// `folder` and `name` with exactly one separator between them.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace scorvane
