#include "ui/DestroyFolderCommand.h"

#include "model/Program.h"

namespace scorvane {

void Command3_Click(Program& /*program*/) {}

}  // namespace scorvane
