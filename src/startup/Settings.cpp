#include "startup/Settings.h"

#include <string>

#include "model/Program.h"
#include "platform/Text.h"
#include "startup/ApplyLanguage.h"
#include "startup/Language.h"

namespace scorvane {

namespace {
constexpr const char* kSettingsFileName = "Scorvane.ini";

// The user's own settings when there are any, else the program folder's: an installed folder may hold
// settings for every user, which each user's first start then copies into their own file.
std::string SettingsToRead(Program& program) {
    const std::string own = program.InDataFolder(kSettingsFileName);
    return !own.empty() && !program.files().Exists(own).empty() ? own : program.InProgramFolder(kSettingsFileName);
}
}  // namespace

void Main(Program& program) {
    // The desktop's controls need no initialisation here.
    LoadSettings(program);
    ApplyLanguage(program);
    program.form1();
    program.form1().Show();
}

void LoadSettings(Program& program) {
    FileServices& files = program.files();
    const std::string settingsPath = SettingsToRead(program);
    bool firstRun = false;

    if (!files.Exists(settingsPath).empty()) {
        const auto settings = files.Open(settingsPath, OpenMode::TextInput);
        std::string method;
        if (settings) {
            if (auto field = files.ReadField(settings.value())) method = WithoutByteOrderMark(field.value());
        }
        // The first touch of the main window: its load handler runs here.
        program.form1().StoredMethodIndex() = method;
        if (settings) {
            // A nested start (command line) has closed this file already: the read fails and the
            // language file name that the nested run read stays.
            if (auto field = files.ReadField(settings.value())) program.LangFile = field.value();
        }
        files.CloseAll();
    } else {
        firstRun = true;
    }

    if (Trim(program.LangFile).empty()) program.LangFile = LanguageFileForLocale(program);
    LoadLanguageFile(program);
    ApplyLanguage(program);
    if (!firstRun) SaveSettings(program);
}

void SaveSettings(Program& program) {
    // Written whole or not at all: a write that fails, or a settings file with other names, leaves the
    // old file as it was, and the choice is not remembered this time.
    const std::string lines = std::to_string(program.form1().Combo1.listIndex) + "\r\n" + program.LangFile + "\r\n";
    (void)program.ReplaceDataFile(kSettingsFileName, lines);
    program.files().CloseAll();
}

}  // namespace scorvane
