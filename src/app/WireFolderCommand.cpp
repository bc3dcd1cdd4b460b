#include "app/FeatureWiring.h"
#include "model/Program.h"

namespace scorvane {

void WireFolderCommand(Program& /*program*/) {}

}  // namespace scorvane
