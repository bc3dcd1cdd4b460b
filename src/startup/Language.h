#pragma once

#include <string>

namespace scorvane {

class Program;

// The lines of a language file that the text table holds (from Lang[1]); later lines are never read.
inline constexpr int kLanguageLines = 91;
// The language file taken when the chosen one cannot be read.
inline constexpr const char* kFallbackLanguageFile = "English.lng";

// The language file for a locale name such as "de_AT": chosen by its language, and for Portuguese by its
// region too ("pt_BR" gives "Brazilian.lng"); "English.lng" for every language without a file.
std::string LanguageFileForLocale(const std::string& localeName);
// The language file for the user's locale.
std::string LanguageFileForLocale(Program& program);
// Loads Files/Lang/<LangFile> into Lang: line n from its fourth character on into Lang[n], n up to
// kLanguageLines. One UTF-8 byte-order mark at the start of the file is skipped. Nothing is cleared first.
// A file that cannot be read, or holds no line, is replaced by English.lng (LangFile then names it, or is
// empty when that cannot be read either), after a message naming the file that could not be read.
void LoadLanguageFile(Program& program);
// The first text of a settings or language file without one leading UTF-8 byte-order mark, which
// editors on other desktops write.
std::string WithoutByteOrderMark(std::string text);

}  // namespace scorvane
