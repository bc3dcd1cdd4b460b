#pragma once

#include <string>

namespace scorvane {

// The English name of the territory of the user's locale (LC_ALL, then LC_MESSAGES, then LANG),
// such as "Italy" or "United States"; the empty text for the C or POSIX locale or none at all.
std::string LocaleCountryName();

}  // namespace scorvane
