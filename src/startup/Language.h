#pragma once

#include <string>

namespace scorvane {

class Program;

inline constexpr int kLocaleEnglishCountry = 0x1002;
inline constexpr int kLanguageLines = 90;

// The user's locale value of one item; only the English country name is known, every other item is empty.
std::string GetLocaleString(Program& program, int item);
// The language file for an English country name: matched by its first two letters ("Italy" gives
// "Italiano.lng"); "English.lng" when nothing matches.
std::string LanguageFileForCountry(const std::string& country);
std::string LanguageFileForLocale(Program& program);
// Loads Files/Lang/<LangFile> into Lang: line n from its fourth character on into Lang[n], n up to 90.
// Nothing is cleared first; a file that cannot be read leaves the table as it was.
void LoadLanguageFile(Program& program);

}  // namespace scorvane
