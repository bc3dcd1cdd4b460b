#pragma once

#include <optional>
#include <string>

#include "platform/FileServices.h"

namespace scorvane {

class Program;

// The folder command's file of known content ("temp.tmp"), written between the two walks of a run and
// wiped like the user's files, in the folder where the program keeps its own files.
struct TemporaryFile {
    std::string path;       // through the held handle of that folder
    FileIdentity identity;  // the file as it was made
};

// Makes the file new and writes its 100 lines. A file of that name that has other names, or is not a
// file, is left as it is (D25), and then there is none; one left by an earlier run is the program's own
// and is replaced. Nothing either when the program has no folder of its own.
std::optional<TemporaryFile> WriteTemporaryFile(Program& program);
// Removes what is left of the file under its name (a stopped or failed wipe keeps it there), and never
// another file put in its place.
void RemoveTemporaryFile(Program& program, const TemporaryFile& file);

}  // namespace scorvane
