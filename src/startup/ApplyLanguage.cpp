#include "startup/ApplyLanguage.h"

#include "model/Program.h"
#include "platform/Text.h"

namespace scorvane {

namespace {
// The credit line of the hidden Label2, before the language's own ending.
constexpr const char* kCreditLine = "Scorvane, the file shredder - ";
}  // namespace

void ApplyLanguage(Program& program) {
    const auto& Lang = program.Lang;
    Form1& form = program.form1();  // a first run loads the main window here

    form.mnuFile.caption = Lang[1];
    form.mnuEsci.caption = Lang[2];
    form.mnuDistruggi.caption = "&" + Lang[3];
    form.mnuDistruggiFile.caption = "&" + Lang[84];
    form.mnuDistruggiCartella.caption = Lang[80] + "...";
    form.mnuDistruggiSpazioLibero.caption = Lang[85];
    form.mnuOpzioni.caption = Lang[56];
    form.mnuLingua.caption = Lang[55];
    form.mnuAggLingua.caption = Lang[79];
    form.mnuDonazioni.caption = Lang[5];
    form.mnuFaiDonazione.caption = Lang[6];
    form.mnuGuida.caption = Lang[7];
    form.mnuVersioni.caption = Lang[82];
    form.mnuAggiornamenti.caption = Lang[8];
    form.mnuInfo.caption = Lang[9];
    form.Command1.caption = Lang[84];
    form.Command2.caption = Lang[85];
    form.Command3.caption = Lang[80];
    form.Label1.caption = Lang[34];
    form.Label4.caption = Lang[10];

    for (std::size_t k = 0; k < program.MethodName.size(); ++k) {
        program.MethodName[k] = Lang[35 + 2 * k];
        program.MethodDesc[k] = Lang[36 + 2 * k];
    }
    for (std::size_t k = program.MethodName.size(); k < program.MethodDesc.size(); ++k) program.MethodDesc[k].clear();

    form.Combo1.Clear();
    for (const auto& name : program.MethodName) form.Combo1.AddItem(name);

    // A position that does not fit a 16-bit integer, or lies outside the list, selects nothing.
    if (const auto position = RoundToInt16(LeadingNumber(form.StoredMethodIndex()))) {
        (void)form.Combo1.SetListIndex(*position);
    }

    form.Label2.caption = kCreditLine + Lang[11];
}

}  // namespace scorvane
