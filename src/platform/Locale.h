#pragma once

#include <string>

namespace scorvane {

// The name of the user's locale for messages (LC_ALL, then LC_MESSAGES, then LANG) without its code set
// and modifier, such as "de_AT" or "pt_BR"; the empty text for the C or POSIX locale or none at all.
std::string LocaleName();

}  // namespace scorvane
