#include "app/FeatureWiring.h"
#include "model/Program.h"

namespace scorvane {

void WireFreeSpaceCommand(Program& /*program*/) {}

}  // namespace scorvane
