#include "model/Program.h"

#include "platform/Locale.h"
#include "platform/Paths.h"

namespace scorvane {

Program::Program(Platform platform)
    : files_(platform.files),
      windows_(platform.windows),
      host_(platform.host),
      drives_(platform.drives),
      facts_(std::move(platform.facts)),
      random_(platform.random ? std::move(platform.random) : RandomStream::FromSystem()),
      localeName_(platform.localeName ? std::move(platform.localeName) : scorvane::LocaleName) {}

std::string Program::InProgramFolder(std::string_view name) const { return JoinPath(facts_.programFolder, name); }

OwnFolder* Program::DataFolder(bool make) {
    if (dataFolder_ || !facts_.writesOwnFiles) return dataFolder_ ? &*dataFolder_ : nullptr;
    // The program folder itself is never made.
    auto opened = facts_.dataFolder.empty() || facts_.dataFolder == facts_.programFolder
                      ? OwnFolder::Open(facts_.programFolder)
                      : OwnFolder::OpenUsers(facts_.dataFolder, make);
    if (opened) dataFolder_.emplace(std::move(opened.value()));
    return dataFolder_ ? &*dataFolder_ : nullptr;
}

std::string Program::InDataFolder(std::string_view name) {
    const OwnFolder* folder = DataFolder(false);
    return folder != nullptr ? folder->PathOf(name) : std::string();
}

std::string Program::PrepareDataFile(std::string_view name) {
    const OwnFolder* folder = DataFolder(true);
    return folder != nullptr ? folder->PathOf(name) : std::string();
}

Result<> Program::ReplaceDataFile(std::string_view name, std::string_view bytes) {
    const OwnFolder* folder = DataFolder(true);
    if (folder == nullptr) return MakeFailure(FailureNumber::PermissionDenied);
    return folder->Replace(name, bytes);
}

Form1& Program::form1() {
    form1_.Load(host_);
    return form1_;
}

Dialog& Program::dialog() {
    dialog_.Load(host_);
    return dialog_;
}

Form2& Program::form2() {
    form2_.Load(host_);
    return form2_;
}

FrmAbout& Program::frmAbout() {
    frmAbout_.Load(host_);
    return frmAbout_;
}

}  // namespace scorvane
