#include "platform/DataFolder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/Paths.h"

namespace scorvane {

namespace {

// An environment variable when it holds an absolute path; relative ones are ignored, as the XDG rules ask.
std::string AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == kSeparator ? std::string(value) : std::string();
}

std::string HomeFolder() {
    std::string home = AbsoluteFromEnvironment("HOME");
    if (home.empty()) {
        if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_dir != nullptr)
            home = entry->pw_dir;
    }
    return home;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string UserDataFolder() {
    std::string base = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
    if (base.empty()) base = JoinPath(HomeFolder(), ".config");
    return JoinPath(base, "scorvane");
}

std::string ProgramDataFolder(const std::string& programFolder) {
    // The effective user's rights, as the kernel applies them (a read-only mount refuses even root).
    const bool writable = ::faccessat(AT_FDCWD, programFolder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
    struct stat mark {};
    const bool installed = ::lstat(JoinPath(programFolder, kInstalledMark).c_str(), &mark) == 0;
    return writable && !installed ? programFolder : UserDataFolder();
}

bool MakeFolderPath(const std::string& folder) {
    if (folder.empty() || IsFolder(folder)) return !folder.empty();
    const auto separator = folder.rfind(kSeparator);
    if (separator != std::string::npos && separator > 0 && !MakeFolderPath(folder.substr(0, separator))) return false;
    return (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) && IsFolder(folder);
}

}  // namespace scorvane
