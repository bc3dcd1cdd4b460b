#pragma once

#include <string>

namespace scorvane {

class Program;

// The fill folder, joined to the drive's mount point, and the fill files' names before their number.
inline constexpr const char* kFillFolderName = "QV";
inline constexpr const char* kFillFilePrefix = "zzzzzzz.z";

// Overwrites the free space of the drive mounted at `drive`: fills it with numbered fill files in the
// folder "QV" by the pattern of the method chosen in Combo1 (0 to 7; anything else as 0) until the disk
// is full or the user stops, flushes them, renames each to 24 'Z's and deletes it, then removes the
// folder when the run made it. The drive and the folder are reached through handles opened once (see
// FillFolder), and every ending removes the files the run made, and only those. A drive that is no
// writable mount of the drive list, or a refused write, shows Lang[Text::DriveNotWritable]; so does a
// "QV" that is no folder of the drive's own, with its path. A finished run shows the elapsed time, or
// shuts the system down when Check1 is ticked; a stopped run shows the cancelled message. Fill files that
// could not be removed are added to Program::Remaining, and the run then neither shows the elapsed time
// nor shuts down: the caller names them. The progress window is unloaded and the main window shown at
// the end.
void WipeSpace(Program& program, const std::string& drive);

}  // namespace scorvane
