#pragma once

#include <string>
#include <vector>

namespace scorvane {

// What the program knows of its own process.
struct ProcessFacts {
    std::string commandLine;     // the arguments, each in double quotes, one blank apart; empty without any
    std::string programFolder;   // the folder that holds the executable, without a trailing separator
    std::string dataFolder;      // where the program writes its own files (ProgramDataFolder); empty: programFolder
    bool writesOwnFiles = true;  // false: no folder passed the checks, so no settings or temporary file is written
    std::string title = "Scorvane";
    int major = 0;
    int minor = 0;
    int revision = 0;
    bool runsAsRoot = false;

    // The facts of this process. An argument holding a double quote cannot be handed over in the
    // quoted form, so then the command line is empty and the program starts as without arguments.
    static ProcessFacts FromArguments(const std::vector<std::string>& arguments);
};

// The folder of the running executable (the link /proc/self/exe resolved).
std::string ExecutableFolder();

}  // namespace scorvane
