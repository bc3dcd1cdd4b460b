#include "ui/AboutBox.h"

#include <string>

#include "engine/ProgressWindow.h"
#include "model/Program.h"
#include "platform/Text.h"
#include "startup/ApplyLanguage.h"
#include "ui/HelpMenu.h"

namespace scorvane {

namespace {}  // namespace

void mnuInfo_Click(Program& program) {
    program.form1().Hide();
    FrmAbout& about = program.frmAbout();  // its load handler runs here
    const ProcessFacts& facts = program.facts();
    about.caption = program.Lang[Text::MenuAbout];
    about.lblTitle.caption = "Scorvane Free";
    about.lblVersion.caption =
        "Rel. " + Decimal(facts.major) + "." + Decimal(facts.minor) + ".0." + Decimal(facts.revision);
    about.lblDescription.caption = program.Lang[Text::AboutDescription];
    about.lblCopyright.caption = about.lblCopyright.caption + " - " + program.Lang[Text::RightsReserved];
    about.Show();
}

void frmAbout_Form_Load(Program& program, AboutBoxState& state) {
    FrmAbout& about = program.frmAboutUnloaded();
    // The two texts the box is built with; the box is loaded afresh at every opening, so the credit
    // line gets exactly one ending.
    about.lblHomePage.caption = std::string(kMakerSite);
    about.lblCopyright.caption = std::string(kCreditLine);

    about.Timer1.interval = kScrollInterval;
    about.Picture2.top = kScrollStartTop;
    state.ScrollPause = 0;
}

void frmAbout_Form_Unload(Program& program) {
    program.frmAboutUnloaded().Timer1.interval = 0;
    program.form1().Show();
}

void frmAbout_Form_Click(Program& program) { program.frmAboutUnloaded().Unload(); }

void lblHomePage_Click(Program& program) { program.windows().ShellOpen(std::string(kMakerSite)); }

void Picture1_KeyDown(Program& program, int keyCode) {
    if (keyCode == kEscape) program.frmAboutUnloaded().Unload();
}

void frmAbout_Timer1_Timer(Program& program, AboutBoxState& state) {
    FrmAbout& about = program.frmAboutUnloaded();
    const Twips visibleHeight = about.Picture1.height;
    const Twips panelHeight = about.Picture2.height;
    Twips& top = about.Picture2.top;

    if (top > visibleHeight - panelHeight) {
        top -= kScrollStep;
    } else {
        ++state.ScrollPause;
        if (state.ScrollPause > kScrollRestTicks) top -= kScrollStep;
    }
    if (top < -panelHeight) {
        top = kScrollStartTop;
        state.ScrollPause = 0;
    }
}

}  // namespace scorvane
