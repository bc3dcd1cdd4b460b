#pragma once

#include <string>

namespace scorvane {

// The file that marks an installed program folder: such a folder is shared by every user and is never
// written, whoever runs the program (root included).
inline constexpr const char* kInstalledMark = "Installed.txt";

// The user's own folder for the program's files: $XDG_CONFIG_HOME/scorvane, or ~/.config/scorvane when
// that variable is unset or not an absolute path. Root never takes a folder that another user owns.
std::string UserDataFolder();

// Where the program writes its own files (settings, temporary file): the program folder when this user
// may write there and it is not an installed folder; otherwise UserDataFolder().
std::string ProgramDataFolder(const std::string& programFolder);

// Makes `folder` and every missing folder above it, each private to the user (0700). True when the
// folder exists afterwards.
bool MakeFolderPath(const std::string& folder);

}  // namespace scorvane
