#include "ui/LanguageMenu.h"

#include <optional>
#include <string>
#include <string_view>

#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "startup/ApplyLanguage.h"
#include "startup/Language.h"
#include "startup/PathHelpers.h"
#include "startup/Settings.h"

namespace scorvane {

namespace {

constexpr std::string_view kLanguageFolderMark = "/Files/Lang/";

// The name after the last "/Files/Lang/" of the dialog's answer, up to the first NUL after it;
// nothing when the answer has no such folder in it.
std::optional<std::string> NameAfterLanguageFolder(const std::string& answer) {
    std::optional<std::string> name;
    for (auto at = answer.find(kLanguageFolderMark); at != std::string::npos;
         at = answer.find(kLanguageFolderMark, at + 1)) {
        const auto start = at + kLanguageFolderMark.size();
        const auto end = answer.find('\0', start);
        name = answer.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    return name;
}

// True when the program's own language folder holds a readable language file of that name.
bool IsInstalledLanguage(Program& program, const std::string& name) {
    FileServices& files = program.files();
    const auto file = files.Open(JoinPath(program.InProgramFolder("Files/Lang"), name), OpenMode::TextInput);
    if (!file) return false;
    (void)files.Close(file.value());
    return true;
}

}  // namespace

void mnuLingua_Click(Program& program) {
    const auto& Lang = program.Lang;
    std::string filter;
    for (const std::string& part :
         {Lang[Text::LanguageFilesDescription], std::string("*.lng"), Lang[Text::AllFiles], std::string("*.*")}) {
        filter += part;
        filter.push_back('\0');
    }
    const std::string answer =
        OpenFileDialog(program, 1, Lang[Text::ProgramName], "", filter, program.InProgramFolder("Files/Lang"), "lng");
    if (answer.empty()) return;

    // Only a name that the program's language folder holds is taken. Storing any other name (a file
    // picked elsewhere whose path merely passes through a "Files/Lang" folder) would start the next
    // run with no texts at all, so such a choice keeps the current language.
    if (const auto name = NameAfterLanguageFolder(answer); name && IsInstalledLanguage(program, *name)) {
        program.LangFile = *name;
    }

    SaveSettings(program);

    // What reading the settings back would give, taken from memory: a settings file that could not be
    // written would otherwise bring back the old language, and a name with a comma would be cut.
    Form1& form = program.form1();
    form.StoredMethodIndex() = std::to_string(form.Combo1.listIndex);
    if (Trim(program.LangFile).empty()) program.LangFile = LanguageFileForLocale(program);
    LoadLanguageFile(program);
    ApplyLanguage(program);
    SaveSettings(program);

    ApplyLanguage(program);
}

}  // namespace scorvane
