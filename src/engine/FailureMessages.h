#pragma once

#include "platform/Result.h"

namespace scorvane {

class Program;

// The failure's description, " (", its number, ")": exclamation box titled Lang[28].
void ShowWipeFailure(Program& program, const Failure& failure);
// The 35-pass method's own failure box, titled Lang[67]: for 6 the description and Lang[66], for 53 the
// description alone, else Lang[68], ": ", the number, CR and the description.
void ShowGutmannFailure(Program& program, const Failure& failure);

}  // namespace scorvane
