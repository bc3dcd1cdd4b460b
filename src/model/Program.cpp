#include "model/Program.h"

#include "platform/DataFolder.h"
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
      localeCountry_(platform.localeCountry ? std::move(platform.localeCountry) : LocaleCountryName) {}

std::string Program::InProgramFolder(std::string_view name) const { return JoinPath(facts_.programFolder, name); }

std::string Program::InDataFolder(std::string_view name) const {
    return facts_.dataFolder.empty() ? InProgramFolder(name) : JoinPath(facts_.dataFolder, name);
}

std::string Program::PrepareDataFile(std::string_view name) {
    // The program folder itself is never made.
    if (!facts_.dataFolder.empty() && facts_.dataFolder != facts_.programFolder)
        (void)MakeFolderPath(facts_.dataFolder);
    return InDataFolder(name);
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
