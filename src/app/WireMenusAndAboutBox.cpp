#include "app/FeatureWiring.h"
#include "model/Program.h"

namespace scorvane {

void WireMenusAndAboutBox(Program& /*program*/) {}

}  // namespace scorvane
