#include "platform/Locale.h"

#include <cstdlib>

namespace scorvane {

std::string LocaleName() {
    std::string name;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            name = value;
            break;
        }
    }
    // "it_IT.UTF-8@euro" -> "it_IT"
    name = name.substr(0, name.find_first_of(".@"));
    if (name == "C" || name == "POSIX") return {};
    return name;
}

}  // namespace scorvane
