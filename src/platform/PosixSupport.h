#pragma once

// What the POSIX file services' two halves (open files, and names) share. Not for other callers.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/FileServices.h"
#include "platform/PosixFileServices.h"
#include "platform/WriteGatherer.h"

namespace scorvane::posix {

inline Failure LastFailure() { return FailureFromErrno(errno); }

// Where a name lies: its device and, where the kernel tells it, its mount, so that a bind mount of a
// folder of the same file system counts as another mount too.
struct MountIdentity {
    dev_t device = 0;
    std::uint64_t mount = 0;
    bool operator==(const MountIdentity&) const = default;
};

inline MountIdentity MountOf(int folder, const char* name) {
    struct statx info {};
    const int flags = AT_SYMLINK_NOFOLLOW | (*name == '\0' ? AT_EMPTY_PATH : 0);
    if (::statx(folder, name, flags, STATX_MNT_ID, &info) != 0) return {};
    MountIdentity identity{makedev(info.stx_dev_major, info.stx_dev_minor), 0};
    if (info.stx_mask & STATX_MNT_ID) identity.mount = info.stx_mnt_id;
    return identity;
}

// A path with a NUL in it would name another file to the system: it is a bad file name.
inline bool HasNul(const std::string& path) { return path.find('\0') != std::string::npos; }

inline FileIdentity IdentityOf(const struct stat& info) {
    FileIdentity identity;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    identity.names = info.st_nlink;
    identity.length = info.st_size;
    identity.kind = S_ISREG(info.st_mode)   ? EntryKind::RegularFile
                    : S_ISDIR(info.st_mode) ? EntryKind::Folder
                                            : EntryKind::Other;
    return identity;
}

}  // namespace scorvane::posix

namespace scorvane {

struct PosixFileServices::OpenFile {
    int fd = -1;
    OpenMode mode = OpenMode::TextInput;
    std::int64_t position = 0;  // offset of the next write, from 0
    std::vector<char> readBuffer;
    std::size_t readPos = 0;
    bool readEnded = false;
    std::vector<char> fill;  // a block of one fill character, kept between chunks
    std::int64_t writtenEnd = 0;
    WriteGatherer gathered;  // written out before anything that reads, cuts, flushes or closes the file
};

}  // namespace scorvane
