#include "startup/Language.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace scorvane {

static_assert(kLanguageLines == Program::kLangSize - 1, "every line read has its entry in Lang, and only those");

namespace {

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); });
    return lower;
}

// Lang[n] from line n of the file; false when the file cannot be opened or holds no line.
bool ReadLanguageFile(Program& program, const std::string& path) {
    FileServices& files = program.files();
    const auto file = files.Open(path, OpenMode::TextInput);
    int n = 1;
    if (file) {
        // Lines after the table's last entry are never used; reading stops there.
        for (; n <= kLanguageLines && !files.AtEnd(file.value()); ++n) {
            auto line = files.ReadLine(file.value());
            if (!line) break;
            const std::string text = n == 1 ? WithoutByteOrderMark(line.value()) : line.value();
            program.Lang[static_cast<std::size_t>(n)] = std::string(SkipCharacters(text, 3));
        }
    }
    files.CloseAll();
    return n > 1;
}

}  // namespace

std::string LanguageFileForLocale(const std::string& localeName) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kTable{{
        {"zh", "Chinese"},
        {"nl", "Dutch"},
        {"it", "Italiano"},
        {"fr", "French"},
        {"de", "German"},
        {"ko", "Korean"},
        {"pt", "Portuguese"},
        {"ru", "Russian"},
        {"es", "Spanish"},
        {"sv", "Swedish"},
        {"tr", "Turkish"},
    }};
    const auto separator = localeName.find_first_of("_-");
    const std::string language = LowerCase(std::string_view(localeName).substr(0, separator));
    const std::string region =
        separator == std::string::npos ? std::string() : LowerCase(std::string_view(localeName).substr(separator + 1));
    if (language == "pt" && region == "br") return "Brazilian.lng";
    for (const auto& [code, name] : kTable) {
        if (language == code) return std::string(name) + ".lng";
    }
    return kFallbackLanguageFile;
}

std::string LanguageFileForLocale(Program& program) { return LanguageFileForLocale(program.LocaleName()); }

void LoadLanguageFile(Program& program) {
    const std::string folder = program.InProgramFolder("Files/Lang");
    const std::string path = JoinPath(folder, program.LangFile);
    if (ReadLanguageFile(program, path)) return;
    // A name that could not be loaded is never kept, so it is not saved as the choice either.
    const bool fallback = ReadLanguageFile(program, JoinPath(folder, kFallbackLanguageFile));
    program.LangFile = fallback ? kFallbackLanguageFile : "";
    program.windows().MessageBox(program.Lang[Text::LanguageFileUnreadable] + "\r" + path, MessageStyle::Exclamation,
                                 program.Lang[Text::ProgramName]);
}

std::string WithoutByteOrderMark(std::string text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    return text;
}

}  // namespace scorvane
