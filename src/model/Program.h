#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/Dialog.h"
#include "model/Form1.h"
#include "model/Form2.h"
#include "model/FrmAbout.h"
#include "model/RunRecord.h"
#include "model/TextIndex.h"
#include "platform/DataFolder.h"
#include "platform/Drives.h"
#include "platform/FileServices.h"
#include "platform/ProcessFacts.h"
#include "platform/RandomStream.h"
#include "platform/WindowServices.h"

namespace scorvane {

// The platform the program runs on: handed in whole, so that tests give fakes.
struct Platform {
    FileServices& files;
    WindowServices& windows;
    WindowHost& host;
    DriveProvider& drives;
    ProcessFacts facts;
    std::unique_ptr<RandomStream> random;     // empty: seeded from the operating system
    std::function<std::string()> localeName;  // such as "de_AT"; empty: the user's locale
};

// The program's state: its platform services, the module state and the windows. Touching a window
// through its accessor loads it first, running its load handler, as the program requires.
class Program {
public:
    static constexpr int kLangSize = 92;

    explicit Program(Platform platform);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    FileServices& files() { return files_; }
    WindowServices& windows() { return windows_; }
    DriveProvider& drives() { return drives_; }
    RandomStream& random() { return *random_; }
    const ProcessFacts& facts() const { return facts_; }
    std::string LocaleName() const { return localeName_(); }

    // The program folder followed by the separator and `name`.
    std::string InProgramFolder(std::string_view name) const;
    // The path of `name` in the folder where the program keeps the files it writes itself (the settings,
    // the folder command's temporary file): the program folder, or the user's own folder when the program
    // folder is installed, read-only or not the user's (ProcessFacts). The path reaches the file through
    // a handle of that folder, opened and checked at its first use and held from then on; the empty text
    // when the folder is missing or fails the checks.
    std::string InDataFolder(std::string_view name);
    // The same, the user's own folder made first when it is missing.
    std::string PrepareDataFile(std::string_view name);
    // Writes `bytes` as the whole content of `name` there (OwnFolder::Replace).
    Result<> ReplaceDataFile(std::string_view name, std::string_view bytes);

    Form1& form1();
    Dialog& dialog();
    Form2& form2();
    FrmAbout& frmAbout();
    bool IsDialogLoaded() const { return dialog_.IsLoaded(); }
    // The windows as they are, without loading them (for wiring and for the views).
    Form1& form1Unloaded() { return form1_; }
    Dialog& dialogUnloaded() { return dialog_; }
    Form2& form2Unloaded() { return form2_; }
    FrmAbout& frmAboutUnloaded() { return frmAbout_; }

    // Module state.
    std::array<std::string, kLangSize> Lang;
    std::array<std::string, 9> MethodName;
    std::array<std::string, 21> MethodDesc;
    std::string LangFile;
    int CancelFlag = 0;
    bool MethodConfirmed = false;
    // What the current run left behind; a command clears it when its run starts.
    RunRecord Remaining;

private:
    // The held folder for the program's own files, opened at the first call; nullptr when there is none.
    OwnFolder* DataFolder(bool make);

    FileServices& files_;
    WindowServices& windows_;
    WindowHost& host_;
    DriveProvider& drives_;
    ProcessFacts facts_;
    std::unique_ptr<RandomStream> random_;
    std::function<std::string()> localeName_;
    std::optional<OwnFolder> dataFolder_;
    Form1 form1_;
    Dialog dialog_;
    Form2 form2_;
    FrmAbout frmAbout_;
};

}  // namespace scorvane
