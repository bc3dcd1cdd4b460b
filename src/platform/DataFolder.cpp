#include "platform/DataFolder.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/Failure.h"
#include "platform/Paths.h"

namespace scorvane {

namespace {

constexpr const char* kOwnFolderName = "scorvane";
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The folder's group may write in it when that group is the user's own private one (named as the user,
// with no other member), as the usual umask 002 of such systems leaves every new folder.
bool GroupIsUsersOwn(gid_t gid) {
    const passwd* user = ::getpwuid(::geteuid());
    if (user == nullptr || user->pw_name == nullptr || user->pw_gid != gid) return false;
    const std::string name = user->pw_name;
    const group* entry = ::getgrgid(gid);
    return entry != nullptr && entry->gr_name != nullptr && name == entry->gr_name &&
           (entry->gr_mem == nullptr || entry->gr_mem[0] == nullptr);
}

// A real folder of the running user in which no other user may add, remove or exchange names.
bool PrivateToUser(const struct stat& info) {
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return false;
    if ((info.st_mode & S_IWOTH) != 0) return false;
    return (info.st_mode & S_IWGRP) == 0 || GroupIsUsersOwn(info.st_gid);
}

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == kSeparator) path.pop_back();
    return path;
}

// An absolute folder named by the environment (the XDG rules ignore relative ones), else the empty text.
std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != kSeparator) return {};
    return WithoutTrailingSeparators(value);
}

// `base`/scorvane when `base` and its scorvane folder are each private to the user (a link never is) or
// missing; a missing `base` is made by the program, private, and only in a folder of the user's own.
std::optional<std::string> OwnFolderIn(const std::string& base) {
    if (base.empty()) return std::nullopt;
    std::string folder = JoinPath(base, kOwnFolderName);
    struct stat info {};
    if (::lstat(base.c_str(), &info) != 0) {
        const auto separator = base.rfind(kSeparator);
        const std::string above = separator == 0 ? std::string(1, kSeparator) : base.substr(0, separator);
        const bool ownAbove = errno == ENOENT && ::stat(above.c_str(), &info) == 0 && PrivateToUser(info);
        return ownAbove ? std::optional(folder) : std::nullopt;
    }
    if (!PrivateToUser(info)) return std::nullopt;
    if (::lstat(folder.c_str(), &info) != 0) return errno == ENOENT ? std::optional(folder) : std::nullopt;
    return PrivateToUser(info) ? std::optional(folder) : std::nullopt;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Failure NotPrivate() { return MakeFailure(FailureNumber::PermissionDenied); }

// The folder handle, checked on the handle itself: what was opened is what is used.
Result<int> OpenPrivateFolder(int at, const char* path) {
    int fd;
    do {
        fd = ::openat(at, path, kFolderFlags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return errno == ELOOP || errno == ENOTDIR ? NotPrivate() : FailureFromErrno(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !PrivateToUser(info)) {
        ::close(fd);
        return NotPrivate();
    }
    return fd;
}

Result<> WriteWhole(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? FailureFromErrno(errno) : MakeFailure(FailureNumber::DiskFull);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

Result<> Sync(int fd) {
    if (::fdatasync(fd) == 0 || (errno == EINVAL && ::fsync(fd) == 0)) return {};
    return FailureFromErrno(errno);
}

}  // namespace

std::optional<std::string> UserDataFolder() {
    std::string base = FromEnvironment("XDG_CONFIG_HOME");
    if (base.empty()) {
        const std::string home = FromEnvironment("HOME");
        if (!home.empty()) base = JoinPath(home, ".config");
    }
    if (auto folder = OwnFolderIn(base)) return folder;
    // The running user's own entry: the environment may be another user's (sudo keeps it, sudo -E all of it).
    const passwd* entry = ::getpwuid(::geteuid());
    if (entry == nullptr || entry->pw_dir == nullptr || entry->pw_dir[0] != kSeparator) return std::nullopt;
    return OwnFolderIn(JoinPath(WithoutTrailingSeparators(entry->pw_dir), ".config"));
}

std::optional<std::string> ProgramDataFolder(const std::string& programFolder) {
    // The effective user's rights, as the kernel applies them (a read-only mount refuses even root).
    const bool writable = ::faccessat(AT_FDCWD, programFolder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
    struct stat mark {};
    const bool installed = ::lstat(JoinPath(programFolder, kInstalledMark).c_str(), &mark) == 0;
    struct stat folder {};
    const bool own = ::stat(programFolder.c_str(), &folder) == 0 && PrivateToUser(folder);
    return writable && !installed && own ? std::optional(programFolder) : UserDataFolder();
}

bool MakeFolderPath(const std::string& folder) {
    if (folder.empty() || IsFolder(folder)) return !folder.empty();
    const auto separator = folder.rfind(kSeparator);
    if (separator != std::string::npos && separator > 0 && !MakeFolderPath(folder.substr(0, separator))) return false;
    return (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) && IsFolder(folder);
}

Result<OwnFolder> OwnFolder::Open(const std::string& folder) {
    auto fd = OpenPrivateFolder(AT_FDCWD, WithoutTrailingSeparators(folder).c_str());
    if (!fd) return fd.failure();
    return OwnFolder(fd.value());
}

Result<OwnFolder> OwnFolder::OpenUsers(const std::string& folder, bool make) {
    const std::string path = WithoutTrailingSeparators(folder);
    const auto separator = path.rfind(kSeparator);
    if (separator == std::string::npos || separator + 1 == path.size()) return NotPrivate();
    if (make) (void)MakeFolderPath(path);
    const std::string above = separator == 0 ? std::string(1, kSeparator) : path.substr(0, separator);
    auto parent = OpenPrivateFolder(AT_FDCWD, above.c_str());
    if (!parent) return parent.failure();
    auto fd = OpenPrivateFolder(parent.value(), path.c_str() + separator + 1);
    ::close(parent.value());
    if (!fd) return fd.failure();
    return OwnFolder(fd.value());
}

OwnFolder::OwnFolder(OwnFolder&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

OwnFolder& OwnFolder::operator=(OwnFolder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

OwnFolder::~OwnFolder() {
    if (fd_ >= 0) ::close(fd_);
}

std::string OwnFolder::PathOf(std::string_view name) const {
    return JoinPath("/proc/self/fd/" + std::to_string(fd_), name);
}

Result<> OwnFolder::Replace(std::string_view name, std::string_view bytes) const {
    const std::string target(name);
    const std::string fresh = target + ".new";
    struct stat info {};
    if (::fstatat(fd_, target.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(info.st_mode) || info.st_nlink > 1) return MakeFailure(FailureNumber::PermissionDenied);
    } else if (errno != ENOENT) {
        return FailureFromErrno(errno);
    }
    // What a failed write left under the new file's name is the program's own, and removing a name
    // changes no file's content.
    (void)::unlinkat(fd_, fresh.c_str(), 0);
    int file;
    do {
        file = ::openat(fd_, fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (file < 0 && errno == EINTR);
    if (file < 0) return FailureFromErrno(errno);
    Result<> written = WriteWhole(file, bytes);
    if (written) written = Sync(file);
    if (::close(file) != 0 && written && errno != EINTR) written = FailureFromErrno(errno);
    if (written && ::renameat(fd_, fresh.c_str(), fd_, target.c_str()) != 0) written = FailureFromErrno(errno);
    if (!written) {
        (void)::unlinkat(fd_, fresh.c_str(), 0);
        return written;
    }
    // The new name reaches the disk with the folder's own blocks.
    if (const int folder = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
    return {};
}

}  // namespace scorvane
