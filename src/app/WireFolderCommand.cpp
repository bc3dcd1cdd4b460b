#include "app/FeatureWiring.h"
#include "model/Program.h"
#include "ui/DestroyFolderCommand.h"

namespace scorvane {

void WireFolderCommand(Program& program) {
    Form1& form = program.form1Unloaded();
    form.Command3.onClick = [&program] { Command3_Click(program); };
    form.mnuDistruggiCartella.onClick = [&program] { mnuDistruggiCartella_Click(program); };
}

}  // namespace scorvane
