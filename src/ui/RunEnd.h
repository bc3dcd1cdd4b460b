#pragma once

#include <string>

namespace scorvane {

class Program;

// The checks every command makes of a chosen item before it wipes anything, and the word that ends a run.

// True, after telling the user so, when the folder is the filesystem root, which is never wiped as a folder.
bool RefusedAsRoot(Program& program, const std::string& folder);
// True, after telling the user so (Lang[Text::KernelFileSystemRefused], the kind, the path; titled `title`), when the
// chosen item lies on a kernel file system (proc, sysfs, ...), which is never written to.
bool RefusedAsKernelFileSystem(Program& program, const std::string& path, const std::string& title);

// When anything chosen for the run remains (Program::Remaining), says how many and names the first few
// (Lang[Text::ItemsRemain], exclamation, titled Lang[Text::WipingErrorTitle]) and gives true: the run then ends without
// the completion message and without a shutdown.
bool ShowWhatRemains(Program& program);

// The end of a run started from the command line: unless the run was stopped, what remains is named as
// ShowWhatRemains does; then the program ends, with exit status 0 only when everything chosen is gone.
[[noreturn]] void EndCommandLineRun(Program& program);

}  // namespace scorvane
