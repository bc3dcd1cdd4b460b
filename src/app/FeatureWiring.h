#pragma once

namespace scorvane {

class Program;

// Each feature connects its own handlers; WireHandlers calls them all.
void WireFileCommands(Program& program);      // destroy files, drops, the command-line job, Form2
void WireFolderCommand(Program& program);     // destroy a folder
void WireFreeSpaceCommand(Program& program);  // destroy free space and its statistics
void WireMenusAndAboutBox(Program& program);  // language, help, version, web pages, about box

}  // namespace scorvane
