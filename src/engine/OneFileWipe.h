#pragma once

#include <cstdint>
#include <string>

namespace scorvane {

class Program;
class WorkPace;

inline constexpr int kNewNameLength = 24;

// Destroys one file: overwrites it by the passes of `method` (0 to 8; any other number wipes as
// method 0), flushing every pass to the disk, then renames it to 24 random capital letters, cuts it to
// a 3-byte stub and deletes it. A missing file is skipped silently; a link or special file is removed
// as a name. A failure is reported naming the file (engine/FailureMessages.h: one box per failure number
// in a run) and notes it in Program::Remaining; the file keeps its own name, or, when the failure came
// after its new name, is named by both. A stop (CancelFlag) shows the cancelled message, keeps the file,
// and leaves CancelFlag at 1; after a start with a command line, a stop ends the program there with exit
// status 1, after the cancelled message, and never returns.
void WipeFile(Program& program, const std::string& path, int method);

// WipeFile for a name that the folder walk has just listed as a regular file and whose attributes it has
// just reset: the same wipe, without looking at the name again before opening it, paced by the walk's
// `pace` from step to step of the file.
void WipeListedFile(Program& program, const std::string& path, int method, WorkPace& pace);

// The name after the last separator, cut to 40 characters, trailing blanks removed, then "...";
// empty when the path has no separator.
std::string DisplayName(const std::string& path);
// "Wiping: ", the display name, CR, the percentage, "%", and " (", Lang[Text::PassLabel], " ", pass, ")" for a labelled
// pass.
std::string ProgressText(const Program& program, const std::string& displayName, int percent, int passLabel);

}  // namespace scorvane
