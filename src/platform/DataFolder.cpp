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

// The nearest existing folder at or above `path` belongs to the running user.
bool OwnedByUser(std::string path) {
    struct stat info {};
    while (::stat(path.c_str(), &info) != 0) {
        const auto separator = path.rfind(kSeparator);
        if (separator == std::string::npos || separator == 0) return false;
        path.resize(separator);
    }
    return info.st_uid == ::geteuid();
}

// A folder from the environment when it is an absolute path (the XDG rules ignore relative ones). Root
// takes it only when root owns it: a root started through sudo may keep another user's HOME, and
// root's files must never land in that user's folder, where the user could no longer change them.
std::string FolderFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != kSeparator) return {};
    return ::geteuid() != 0 || OwnedByUser(value) ? std::string(value) : std::string();
}

std::string HomeFolder() {
    std::string home = FolderFromEnvironment("HOME");
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
    std::string base = FolderFromEnvironment("XDG_CONFIG_HOME");
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
