#include "support/MountedTmpfs.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace scorvane::testing {

MountedTmpfs::MountedTmpfs(std::string folder, std::string size)
    : folder_(std::move(folder)), options_("size=" + std::move(size)) {
    std::error_code ignored;
    std::filesystem::create_directories(folder_, ignored);
    mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options_.c_str()) == 0;
    if (!mounted_) error_ = std::strerror(errno);
}

MountedTmpfs::~MountedTmpfs() {
    // A file a test left open keeps the mount busy: then it is detached, never left behind.
    if (mounted_ && ::umount2(folder_.c_str(), 0) != 0) ::umount2(folder_.c_str(), MNT_DETACH);
}

bool MountedTmpfs::RemountReadOnly() {
    return ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, options_.c_str()) == 0;
}

}  // namespace scorvane::testing
