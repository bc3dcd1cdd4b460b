#include "platform/Paths.h"

namespace scorvane {

std::string_view NamePart(std::string_view path) {
    const auto separator = path.rfind(kSeparator);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (joined.empty() || joined.back() != kSeparator) joined.push_back(kSeparator);
    joined.append(name);
    return joined;
}

}  // namespace scorvane
