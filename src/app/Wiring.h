#pragma once

namespace scorvane {

class Program;

// Connects every window's load and unload handlers and control events to the functions that handle them.
void WireHandlers(Program& program);

}  // namespace scorvane
