#pragma once

#include <string>
#include <string_view>

namespace scorvane {

class Program;

// The walk through a folder tree for the destroy-folder command. A folder is entered only when its
// path names a real folder seen without following a link; sub-folders on another mounted file system
// are never entered, and the filesystem root is never walked. Links, FIFOs, sockets and devices met
// in a folder are counted with its files and removed as names by WipeFile, never followed. A stop during
// a file's wipe after a start with a command line ends the program there (WipeFile).

// Wipes every file lying directly in `folderOr` with the method of Combo1, moving the progress bar per
// file (ProgressTotal = the folder's file count). Returns at once on CancelFlag. A file already in
// Program::Remaining is passed over; a file with other names is left exactly as it is, its mode too (WipeFile
// reports it). A folder that cannot be listed, or a file that cannot be looked at or whose attributes cannot
// be reset, gives one beep at the end; nothing else.
void ElencaFiles(Program& program, const std::string& folderOr);

// Wipes the folder's own files, then the tree below it, appending every sub-folder to List2 before
// the sub-folders below it (parent first, siblings in listing order).
void Scan(Program& program, const std::string& Percorso);

// The same for the tree below the folder; the folder's own files are left alone.
void Scan2(Program& program, const std::string& Percorso);

// True when the path names the filesystem root: by its text ("/", "//", "/.", "/a/..") or by what it
// reaches (a relative path from "/", a link to "/").
bool IsFilesystemRoot(Program& program, std::string_view path);

}  // namespace scorvane
