#include "startup/Language.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace scorvane {

std::string GetLocaleString(Program& program, int item) {
    if (item != kLocaleEnglishCountry) return {};
    std::string value = program.LocaleCountry();
    if (value.size() > 255) value.resize(255);  // the answer buffer holds 255 characters and a NUL
    return value;
}

std::string LanguageFileForCountry(const std::string& country) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 13> kTable{{
        {"zh", "Chinese"},
        {"br", "Brazilian"},
        {"be", "Dutch"},
        {"nl", "Dutch"},
        {"it", "Italiano"},
        {"fr", "French"},
        {"de", "German"},
        {"ko", "Korean"},
        {"pt", "Portuguese"},
        {"ru", "Russian"},
        {"es", "Spanish"},
        {"sv", "Swedish"},
        {"tn", "Turkish"},
    }};
    std::string key(FirstCharacters(country, 2));
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); });
    std::string_view name = "English";
    for (const auto& [prefix, language] : kTable) {
        if (key == prefix) {
            name = language;
            break;
        }
    }
    return std::string(name) + ".lng";
}

std::string LanguageFileForLocale(Program& program) {
    return LanguageFileForCountry(GetLocaleString(program, kLocaleEnglishCountry));
}

void LoadLanguageFile(Program& program) {
    FileServices& files = program.files();
    const std::string path = JoinPath(program.InProgramFolder("Files/Lang"), program.LangFile);
    const auto file = files.Open(path, OpenMode::TextInput);
    if (file) {
        // Lines after the 90th are never used; reading stops there.
        for (int n = 1; n <= kLanguageLines && !files.AtEnd(file.value()); ++n) {
            auto line = files.ReadLine(file.value());
            if (!line) break;
            const std::string text = n == 1 ? WithoutByteOrderMark(line.value()) : line.value();
            program.Lang[static_cast<std::size_t>(n)] = std::string(SkipCharacters(text, 3));
        }
    }
    files.CloseAll();
}

std::string WithoutByteOrderMark(std::string text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    return text;
}

}  // namespace scorvane
