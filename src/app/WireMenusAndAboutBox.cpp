#include <initializer_list>
#include <memory>

#include "app/FeatureWiring.h"
#include "model/Program.h"
#include "ui/AboutBox.h"
#include "ui/HelpMenu.h"
#include "ui/LanguageMenu.h"

namespace scorvane {

void WireMenusAndAboutBox(Program& program) {
    Form1& form = program.form1Unloaded();
    form.mnuLingua.onClick = [&program] { mnuLingua_Click(program); };
    form.mnuAggLingua.onClick = [&program] { mnuAggLingua_Click(program); };
    form.mnuFaiDonazione.onClick = [&program] { mnuFaiDonazione_Click(program); };
    form.mnuGuida.onClick = [&program] { mnuGuida_Click(program); };
    form.mnuVersioni.onClick = [&program] { mnuVersioni_Click(program); };
    form.mnuAggiornamenti.onClick = [&program] { mnuAggiornamenti_Click(program); };
    form.mnuInfo.onClick = [&program] { mnuInfo_Click(program); };

    FrmAbout& about = program.frmAboutUnloaded();
    auto state = std::make_shared<AboutBoxState>();
    about.onLoad = [&program, state] { frmAbout_Form_Load(program, *state); };
    about.onUnload = [&program] { frmAbout_Form_Unload(program); };
    about.Timer1.onTimer = [&program, state] { frmAbout_Timer1_Timer(program, *state); };
    // Form_Click, imgTitle_Click, lblTitle_Click, lblVersion_Click, lblDescription_Click and
    // lblCopyright_Click all close the box. The window's own surface has no click handler in the
    // model; its view closes the box directly.
    for (Control* control : std::initializer_list<Control*>{&about.imgTitle, &about.lblTitle, &about.lblVersion,
                                                            &about.lblDescription, &about.lblCopyright}) {
        control->onClick = [&program] { frmAbout_Form_Click(program); };
    }
    about.lblHomePage.onClick = [&program] { lblHomePage_Click(program); };
    about.Picture1.onKeyPress = [&program](int& key) { Picture1_KeyDown(program, key); };
}

}  // namespace scorvane
