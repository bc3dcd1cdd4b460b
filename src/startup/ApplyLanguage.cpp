#include "startup/ApplyLanguage.h"

#include <string>

#include "model/Program.h"
#include "platform/Text.h"

namespace scorvane {

void ApplyLanguage(Program& program) {
    const auto& Lang = program.Lang;
    Form1& form = program.form1();  // a first run loads the main window here

    form.mnuFile.caption = Lang[Text::MenuFile];
    form.mnuEsci.caption = Lang[Text::MenuQuit];
    form.mnuDistruggi.caption = "&" + Lang[Text::MenuDestroy];
    form.mnuDistruggiFile.caption = "&" + Lang[Text::DestroyFiles];
    form.mnuDistruggiCartella.caption = Lang[Text::DestroyFolder] + "...";
    form.mnuDistruggiSpazioLibero.caption = Lang[Text::WipeFreeSpace];
    form.mnuOpzioni.caption = Lang[Text::MenuOptions];
    form.mnuLingua.caption = Lang[Text::MenuLanguage];
    form.mnuAggLingua.caption = Lang[Text::MenuMoreLanguages];
    form.mnuDonazioni.caption = Lang[Text::MenuDonations];
    form.mnuFaiDonazione.caption = Lang[Text::MenuDonate];
    form.mnuGuida.caption = Lang[Text::MenuHelp];
    form.mnuVersioni.caption = Lang[Text::MenuVersionHistory];
    form.mnuAggiornamenti.caption = Lang[Text::MenuUpdates];
    form.mnuInfo.caption = Lang[Text::MenuAbout];
    form.Command1.caption = Lang[Text::DestroyFiles];
    form.Command2.caption = Lang[Text::WipeFreeSpace];
    form.Command3.caption = Lang[Text::DestroyFolder];
    form.Label1.caption = Lang[Text::MethodHeading];
    form.Label4.caption = Lang[Text::ShutDownWhenFinished];

    for (std::size_t k = 0; k < program.MethodName.size(); ++k) {
        program.MethodName[k] = Lang[Text::FirstMethodName + 2 * k];
        program.MethodDesc[k] = Lang[Text::FirstMethodName + 1 + 2 * k];
    }
    for (std::size_t k = program.MethodName.size(); k < program.MethodDesc.size(); ++k) program.MethodDesc[k].clear();

    form.Combo1.Clear();
    for (const auto& name : program.MethodName) form.Combo1.AddItem(name);

    // A position that does not fit a 16-bit integer, or lies outside the list, selects nothing.
    if (const auto position = RoundToInt16(LeadingNumber(form.StoredMethodIndex()))) {
        (void)form.Combo1.SetListIndex(*position);
    }

    form.Label2.caption = std::string(kCreditLine) + " - " + Lang[Text::RightsReserved];
}

}  // namespace scorvane
