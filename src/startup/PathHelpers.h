#pragma once

#include <string>

namespace scorvane {

class Program;

// True when the path names an existing folder (a link to a folder is not one).
bool IsFolder(Program& program, const std::string& path);
// The folder picker: the chosen folder's path, or the empty text. `mode` 1 to 6 chooses the picker's flags.
// A path holding U+FFFD (a name the picker could not show as it is) is refused with a message, as is a
// file selection holding one in the open-file dialog: the answer is then the empty text.
std::string BrowseForFolder(Program& program, const std::string& title, double mode);
// The picker flags of a mode, compared exactly; 0 for any other mode.
unsigned FolderPickerFlags(double mode);
// The open-file dialog (mode 1 only; any other mode shows nothing and gives the empty text).
// One file: its full path, then NULs; several: the folder, NUL, each name and NUL, then NULs.
// The text is at least 250 characters and longer when the selection needs it.
std::string OpenFileDialog(Program& program, int mode, const std::string& title, const std::string& fileName,
                           const std::string& filter, const std::string& initialFolder,
                           const std::string& defaultExtension);

inline constexpr std::size_t kFileBufferLength = 250;

}  // namespace scorvane
