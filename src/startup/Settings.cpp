#include "startup/Settings.h"

#include <string>

#include "model/Program.h"
#include "platform/Text.h"
#include "startup/ApplyLanguage.h"
#include "startup/Language.h"

namespace scorvane {

namespace {
constexpr const char* kSettingsFileName = "Scorvane.ini";
}

void Main(Program& program) {
    // The desktop's controls need no initialisation here.
    LoadSettings(program);
    ApplyLanguage(program);
    program.form1();
    program.form1().Show();
}

void LoadSettings(Program& program) {
    FileServices& files = program.files();
    const std::string settingsPath = program.InProgramFolder(kSettingsFileName);
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
    FileServices& files = program.files();
    const auto settings = files.Open(program.InProgramFolder(kSettingsFileName), OpenMode::TextOutput);
    if (settings) {
        (void)files.PrintLine(settings.value(), std::to_string(program.form1().Combo1.listIndex));
        (void)files.PrintLine(settings.value(), program.LangFile);
    }
    files.CloseAll();
}

}  // namespace scorvane
