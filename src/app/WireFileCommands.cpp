#include "app/FeatureWiring.h"
#include "model/Program.h"

namespace scorvane {

void WireFileCommands(Program& /*program*/) {}

}  // namespace scorvane
