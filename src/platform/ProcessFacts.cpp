#include "platform/ProcessFacts.h"

#include <unistd.h>

#include <climits>
#include <utility>

#include "platform/DataFolder.h"
#include "platform/Paths.h"

namespace scorvane {

std::string ExecutableFolder() {
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
    if (length <= 0) return ".";
    target.resize(static_cast<std::size_t>(length));
    const auto separator = target.rfind(kSeparator);
    if (separator == std::string::npos) return ".";
    return separator == 0 ? std::string(1, kSeparator) : target.substr(0, separator);
}

ProcessFacts ProcessFacts::FromArguments(const std::vector<std::string>& arguments) {
    ProcessFacts facts;
    facts.programFolder = ExecutableFolder();
    if (auto folder = ProgramDataFolder(facts.programFolder)) {
        facts.dataFolder = std::move(*folder);
    } else {
        facts.writesOwnFiles = false;
    }
    facts.major = SCORVANE_VERSION_MAJOR;
    facts.minor = SCORVANE_VERSION_MINOR;
    facts.revision = SCORVANE_VERSION_REVISION;
    facts.runsAsRoot = ::geteuid() == 0;
    std::string joined;
    for (const auto& argument : arguments) {
        if (argument.find('"') != std::string::npos) return facts;
        if (!joined.empty()) joined += ' ';
        joined += '"' + argument + '"';
    }
    facts.commandLine = joined;
    return facts;
}

}  // namespace scorvane
