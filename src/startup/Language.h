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
// One UTF-8 byte-order mark at the start of the file is skipped. Nothing is cleared first; a file that
// cannot be read leaves the table as it was.
void LoadLanguageFile(Program& program);
// The first text of a settings or language file without one leading UTF-8 byte-order mark, which
// editors on other desktops write.
std::string WithoutByteOrderMark(std::string text);

}  // namespace scorvane
