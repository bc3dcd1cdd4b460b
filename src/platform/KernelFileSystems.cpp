#include "platform/KernelFileSystems.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string_view>

namespace scorvane {

namespace {

// File systems whose "files" are the kernel's own controls and views: writing to them changes the
// running system or its firmware, and they hold no user data to destroy.
constexpr std::array<std::string_view, 19> kKernelTypes = {
    "proc",        "sysfs",    "efivarfs",  "debugfs", "tracefs",   "securityfs", "cgroup",
    "cgroup2",     "configfs", "bpf",       "pstore",  "devtmpfs",  "devpts",     "mqueue",
    "binfmt_misc", "fusectl",  "selinuxfs", "nsfs",    "rpc_pipefs"};

struct Magic {
    std::int64_t number;
    std::string_view type;
};
// The same by the magic numbers of statfs, for a system without a readable mount table.
constexpr std::array<Magic, 13> kKernelMagic = {{{0x9fa0, "proc"},
                                                 {0x62656572, "sysfs"},
                                                 {0xde5e81e4, "efivarfs"},
                                                 {0x64626720, "debugfs"},
                                                 {0x74726163, "tracefs"},
                                                 {0x73636673, "securityfs"},
                                                 {0x27e0eb, "cgroup"},
                                                 {0x63677270, "cgroup2"},
                                                 {0x62656570, "configfs"},
                                                 {0xcafe4a11, "bpf"},
                                                 {0x6165676C, "pstore"},
                                                 {0x1cd1, "devpts"},
                                                 {0x19800202, "mqueue"}}};

bool IsKernelType(std::string_view type) {
    for (const std::string_view kernel : kKernelTypes) {
        if (type == kernel) return true;
    }
    return false;
}

// The file system type of the mount with this id, from the process's mount table.
std::string MountType(std::uint64_t mount) {
    std::ifstream table("/proc/self/mountinfo");
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::uint64_t id = 0;
        if (!(fields >> id) || id != mount) continue;
        const auto separator = line.find(" - ");
        if (separator == std::string::npos) return {};
        std::istringstream rest(line.substr(separator + 3));
        std::string type;
        rest >> type;
        return type;
    }
    return {};
}

}  // namespace

std::optional<std::string> KernelTypeOfMount(std::uint64_t mount) {
    if (mount == 0) return std::nullopt;
    const std::string type = MountType(mount);
    if (type.empty()) return std::nullopt;
    return IsKernelType(type) ? type : std::string();
}

std::string KernelFileSystemOf(const std::string& path) {
    struct stat info {};
    std::string entry = path;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        const auto separator = path.find_last_of('/');
        entry = separator == std::string::npos ? "." : separator == 0 ? "/" : path.substr(0, separator);
    }
    struct statx place {};
    if (::statx(AT_FDCWD, entry.c_str(), 0, STATX_MNT_ID, &place) == 0 && (place.stx_mask & STATX_MNT_ID)) {
        if (const auto type = KernelTypeOfMount(place.stx_mnt_id)) return *type;
    }
    struct statfs system {};
    if (::statfs(entry.c_str(), &system) != 0) return {};
    for (const Magic& magic : kKernelMagic) {
        if (static_cast<std::int64_t>(system.f_type) == magic.number) return std::string(magic.type);
    }
    return {};
}

}  // namespace scorvane
