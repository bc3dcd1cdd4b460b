#include "app/FeatureWiring.h"
#include "engine/FreeSpaceStatistics.h"
#include "model/Program.h"
#include "ui/DestroyFreeSpaceCommand.h"

namespace scorvane {

void WireFreeSpaceCommand(Program& program) {
    Form1& form = program.form1Unloaded();
    form.Command2.onClick = [&program] { Command2_Click(program); };
    form.mnuDistruggiSpazioLibero.onClick = [&program] { Command2_Click(program); };
    form.Timer1.onTimer = [&program] { Timer1_Timer(program); };
}

}  // namespace scorvane
