#include "platform/PosixFileServices.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/AnchoredTree.h"
#include "platform/Failure.h"
#include "platform/KernelFileSystems.h"
#include "platform/Paths.h"

namespace scorvane {

namespace {

constexpr std::size_t kReadBlock = 64 * 1024;
constexpr std::size_t kFillBlock = 1024 * 1024;

Failure LastFailure() { return FailureFromErrno(errno); }

// Where a name lies: its device and, where the kernel tells it, its mount, so that a bind mount of a
// folder of the same file system counts as another mount too.
struct MountIdentity {
    dev_t device = 0;
    std::uint64_t mount = 0;
    bool operator==(const MountIdentity&) const = default;
};

MountIdentity MountOf(int folder, const char* name) {
    struct statx info {};
    const int flags = AT_SYMLINK_NOFOLLOW | (*name == '\0' ? AT_EMPTY_PATH : 0);
    if (::statx(folder, name, flags, STATX_MNT_ID, &info) != 0) return {};
    MountIdentity identity{makedev(info.stx_dev_major, info.stx_dev_minor), 0};
    if (info.stx_mask & STATX_MNT_ID) identity.mount = info.stx_mnt_id;
    return identity;
}

// A path with a NUL in it would name another file to the system: it is a bad file name.
bool HasNul(const std::string& path) { return path.find('\0') != std::string::npos; }

std::array<std::uint8_t, 4> TaggedHeader(std::int64_t length) {
    const auto field = static_cast<std::uint16_t>(std::min<std::int64_t>(length, 0xFFFF));
    return {0x08, 0x00, static_cast<std::uint8_t>(field & 0xFF), static_cast<std::uint8_t>(field >> 8)};
}

}  // namespace

struct PosixFileServices::OpenFile {
    int fd = -1;
    OpenMode mode = OpenMode::TextInput;
    std::int64_t position = 0;  // offset of the next write, from 0
    std::vector<char> readBuffer;
    std::size_t readPos = 0;
    bool readEnded = false;
    std::vector<char> fill;  // a block of one fill character, kept between chunks
    std::int64_t writtenEnd = 0;
};

Result<PosixFileServices::Where> PosixFileServices::Locate(const std::string& path) {
    if (path.empty() || HasNul(path)) return MakeFailure(FailureNumber::BadFileName);
    if (anchors_.empty()) return Where{AT_FDCWD, path};
    const PathNames names = SplitPath(path);
    for (auto tree = anchors_.rbegin(); tree != anchors_.rend(); ++tree) {
        if (!*tree || !(*tree)->Holds(names)) continue;
        auto folder = (*tree)->ParentOf(names);
        if (!folder) return folder.failure();
        return Where{folder.value(), std::string(names.names.back()), (*tree)->LastMount()};
    }
    return Where{AT_FDCWD, path};
}

Result<int> PosixFileServices::OpenFolder(const std::string& path) {
    if (path.empty() || HasNul(path)) return MakeFailure(FailureNumber::BadFileName);
    int descriptor = -1;
    if (!anchors_.empty()) {
        const PathNames names = SplitPath(path);
        for (auto tree = anchors_.rbegin(); tree != anchors_.rend(); ++tree) {
            if (!*tree || !(*tree)->Holds(names)) continue;
            auto folder = (*tree)->Folder(names);
            if (!folder) return folder.failure();
            descriptor = ::openat(folder.value(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (descriptor < 0) return LastFailure();
            return descriptor;
        }
    }
    // Opened without following a link: a walk never leaves the tree through one.
    descriptor = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) return errno == ELOOP ? MakeFailure(FailureNumber::FileNotFound) : LastFailure();
    return descriptor;
}

Result<struct stat> PosixFileServices::StatName(const std::string& path) {
    const auto where = Locate(path);
    if (!where) return where.failure();
    struct stat info {};
    if (::fstatat(where.value().folder, where.value().name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return LastFailure();
    }
    return info;
}

PosixFileServices::PosixFileServices() = default;

PosixFileServices::~PosixFileServices() { CloseAll(); }

Result<PosixFileServices::OpenFile*> PosixFileServices::Find(FileHandle file) {
    auto it = files_.find(file);
    if (it == files_.end()) return MakeFailure(FailureNumber::BadFileName);
    return it->second.get();
}

Result<FileHandle> PosixFileServices::Open(const std::string& path, OpenMode mode) {
    const auto where = Locate(path);
    if (!where) return where.failure();
    int flags = O_CLOEXEC | O_NOFOLLOW;
    switch (mode) {
        case OpenMode::ByteAccess:
            flags |= O_RDWR | O_NONBLOCK;
            break;
        case OpenMode::TextOutput:
            flags |= O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK;
            break;
        case OpenMode::TextInput:
            flags |= O_RDONLY | O_NONBLOCK;
            break;
        case OpenMode::CreateNew:
            flags |= O_WRONLY | O_CREAT | O_EXCL;
            break;
    }
    int fd;
    do {
        fd = ::openat(where.value().folder, where.value().name.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == EISDIR) return MakeFailure(FailureNumber::PermissionDenied);
        if (errno == ELOOP)
            return MakeFailure(mode == OpenMode::TextInput ? FailureNumber::FileNotFound
                                                           : FailureNumber::PermissionDenied);
        return LastFailure();
    }
    struct statx info {};
    const bool looked = ::statx(fd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_MNT_ID, &info) == 0;
    if (!looked || !S_ISREG(info.stx_mode)) {
        const bool isFolder = S_ISDIR(info.stx_mode);
        ::close(fd);
        if (mode == OpenMode::TextInput && !isFolder) return MakeFailure(FailureNumber::FileNotFound);
        return MakeFailure(FailureNumber::PermissionDenied);
    }
    // A file mounted over a name of the tree is another file system's: never written through it.
    const std::uint64_t folderMount = where.value().mount;
    if (folderMount != 0 && (info.stx_mask & STATX_MNT_ID) && info.stx_mnt_id != folderMount) {
        ::close(fd);
        return MakeFailure(FailureNumber::PermissionDenied);
    }
    // Opened without blocking (a FIFO put in the file's place must not hang the open), then made blocking.
    if ((flags & O_NONBLOCK) && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const Failure failure = LastFailure();
        ::close(fd);
        return failure;
    }
    auto open = std::make_unique<OpenFile>();
    open->fd = fd;
    open->mode = mode;
    const FileHandle handle = nextHandle_++;
    files_.emplace(handle, std::move(open));
    return handle;
}

Result<> PosixFileServices::Seek(FileHandle file, std::int64_t position) {
    auto open = Find(file);
    if (!open) return open.failure();
    if (position < 1) return MakeFailure(FailureNumber::BadRecordNumber);
    open.value()->position = position - 1;
    return {};
}

Result<> PosixFileServices::WriteAll(OpenFile& file, const void* data, std::size_t size) {
    if (file.mode == OpenMode::TextInput) return MakeFailure(FailureNumber::BadFileName);
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::pwrite(file.fd, bytes, size, file.position);
        if (written < 0) {
            if (errno == EINTR) continue;
            return LastFailure();
        }
        if (written == 0) return MakeFailure(FailureNumber::DiskFull);
        bytes += written;
        size -= static_cast<std::size_t>(written);
        file.position += written;
    }
    file.writtenEnd = std::max(file.writtenEnd, file.position);
    return {};
}

Result<> PosixFileServices::WriteTagged(FileHandle file, std::string_view text) {
    auto open = Find(file);
    if (!open) return open.failure();
    const auto header = TaggedHeader(static_cast<std::int64_t>(text.size()));
    if (auto done = WriteAll(*open.value(), header.data(), header.size()); !done) return done;
    return WriteAll(*open.value(), text.data(), text.size());
}

Result<> PosixFileServices::WriteTaggedFill(FileHandle file, char fill, std::int64_t count) {
    auto open = Find(file);
    if (!open) return open.failure();
    OpenFile& target = *open.value();
    if (count < 0) return MakeFailure(FailureNumber::InvalidCall);
    const auto header = TaggedHeader(count);
    if (auto done = WriteAll(target, header.data(), header.size()); !done) return done;
    const auto block = static_cast<std::size_t>(std::min<std::int64_t>(count, kFillBlock));
    if (target.fill.size() < block || (!target.fill.empty() && target.fill.front() != fill)) {
        target.fill.assign(std::max(block, target.fill.size()), fill);
    }
    while (count > 0) {
        const auto part = static_cast<std::size_t>(std::min<std::int64_t>(count, static_cast<std::int64_t>(block)));
        if (auto done = WriteAll(target, target.fill.data(), part); !done) return done;
        count -= static_cast<std::int64_t>(part);
    }
    return {};
}

Result<> PosixFileServices::WriteRaw(FileHandle file, std::span<const std::uint8_t> bytes) {
    auto open = Find(file);
    if (!open) return open.failure();
    return WriteAll(*open.value(), bytes.data(), bytes.size());
}

Result<> PosixFileServices::PrintLine(FileHandle file, std::string_view text) {
    auto open = Find(file);
    if (!open) return open.failure();
    std::string line(text);
    line += "\r\n";
    return WriteAll(*open.value(), line.data(), line.size());
}

int PosixFileServices::PeekByte(OpenFile& file) {
    if (file.readPos >= file.readBuffer.size()) {
        if (file.readEnded || file.mode != OpenMode::TextInput) return -1;
        file.readBuffer.resize(kReadBlock);
        ssize_t got;
        do {
            got = ::read(file.fd, file.readBuffer.data(), kReadBlock);
        } while (got < 0 && errno == EINTR);
        file.readBuffer.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        file.readPos = 0;
        if (got <= 0) {
            file.readEnded = true;
            return -1;
        }
    }
    return static_cast<unsigned char>(file.readBuffer[file.readPos]);
}

int PosixFileServices::ReadByte(OpenFile& file) {
    const int byte = PeekByte(file);
    if (byte >= 0) ++file.readPos;
    return byte;
}

Result<std::string> PosixFileServices::ReadLine(FileHandle file) {
    auto open = Find(file);
    if (!open) return open.failure();
    OpenFile& source = *open.value();
    if (source.mode != OpenMode::TextInput) return MakeFailure(FailureNumber::BadFileName);
    if (PeekByte(source) < 0) return MakeFailure(FailureNumber::InputPastEnd);
    std::string line;
    for (int byte = ReadByte(source); byte >= 0 && byte != '\n'; byte = ReadByte(source)) {
        line.push_back(static_cast<char>(byte));
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

Result<std::string> PosixFileServices::ReadField(FileHandle file) {
    auto open = Find(file);
    if (!open) return open.failure();
    OpenFile& source = *open.value();
    if (source.mode != OpenMode::TextInput) return MakeFailure(FailureNumber::BadFileName);
    while (PeekByte(source) == ' ') ReadByte(source);
    if (PeekByte(source) < 0) return MakeFailure(FailureNumber::InputPastEnd);

    std::string field;
    auto endOfField = [](int byte) { return byte < 0 || byte == ',' || byte == '\n'; };
    if (PeekByte(source) == '"') {
        ReadByte(source);
        for (int byte = PeekByte(source); byte >= 0 && byte != '"' && byte != '\n'; byte = PeekByte(source)) {
            field.push_back(static_cast<char>(ReadByte(source)));
        }
        if (!field.empty() && field.back() == '\r' && PeekByte(source) == '\n') field.pop_back();
        if (PeekByte(source) == '"') ReadByte(source);
        while (!endOfField(PeekByte(source))) ReadByte(source);  // what follows the closing quote is dropped
    } else {
        while (!endOfField(PeekByte(source))) field.push_back(static_cast<char>(ReadByte(source)));
        if (!field.empty() && field.back() == '\r') field.pop_back();
        while (!field.empty() && field.back() == ' ') field.pop_back();
    }
    ReadByte(source);  // the comma or the line feed
    return field;
}

bool PosixFileServices::AtEnd(FileHandle file) {
    auto open = Find(file);
    if (!open) return true;
    if (open.value()->mode != OpenMode::TextInput) {
        struct stat info {};
        return ::fstat(open.value()->fd, &info) != 0 || open.value()->position >= info.st_size;
    }
    return PeekByte(*open.value()) < 0;
}

Result<std::int64_t> PosixFileServices::Length(FileHandle file) {
    auto open = Find(file);
    if (!open) return open.failure();
    struct stat info {};
    if (::fstat(open.value()->fd, &info) != 0) return LastFailure();
    return static_cast<std::int64_t>(info.st_size);
}

Result<std::int64_t> PosixFileServices::LengthOf(const std::string& path) {
    const auto info = StatName(path);
    if (!info) return info.failure();
    if (!S_ISREG(info.value().st_mode)) return MakeFailure(FailureNumber::FileNotFound);
    return static_cast<std::int64_t>(info.value().st_size);
}

namespace {
FileIdentity IdentityOf(const struct stat& info) {
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
}  // namespace

Result<FileIdentity> PosixFileServices::Identify(FileHandle file) {
    auto open = Find(file);
    if (!open) return open.failure();
    struct stat info {};
    if (::fstat(open.value()->fd, &info) != 0) return LastFailure();
    FileIdentity identity = IdentityOf(info);
    identity.writtenEnd = open.value()->writtenEnd;
    return identity;
}

Result<> PosixFileServices::Truncate(FileHandle file, std::int64_t length) {
    auto open = Find(file);
    if (!open) return open.failure();
    if (open.value()->mode == OpenMode::TextInput) return MakeFailure(FailureNumber::BadFileName);
    int done;
    do {
        done = ::ftruncate(open.value()->fd, length);
    } while (done != 0 && errno == EINTR);
    if (done != 0) return LastFailure();
    return {};
}

Result<FileIdentity> PosixFileServices::IdentifyName(const std::string& path) {
    const auto info = StatName(path);
    if (!info) return info.failure();
    return IdentityOf(info.value());
}

Result<> PosixFileServices::DeleteIfSame(const std::string& path, const FileIdentity& identity) {
    const auto where = Locate(path);
    if (!where) return where.failure();
    struct stat info {};
    if (::fstatat(where.value().folder, where.value().name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return LastFailure();
    }
    if (!IdentityOf(info).SameFile(identity)) return MakeFailure(FailureNumber::FileNotFound);
    if (::unlinkat(where.value().folder, where.value().name.c_str(), 0) != 0) return LastFailure();
    return {};
}

Result<> PosixFileServices::Anchor(const std::string& chosen) {
    if (!anchors_.empty()) {
        const PathNames names = SplitPath(chosen);
        for (const auto& tree : anchors_) {
            if (tree && tree->Holds(names)) {
                anchors_.push_back(nullptr);  // held already
                return {};
            }
        }
    }
    auto tree = AnchoredTree::Open(chosen);
    if (!tree) {
        anchors_.push_back(nullptr);
        return tree.failure();
    }
    anchors_.push_back(std::make_unique<AnchoredTree>(std::move(tree.value())));
    return {};
}

void PosixFileServices::Unanchor() {
    if (!anchors_.empty()) anchors_.pop_back();
}

std::string PosixFileServices::KernelFileSystem(const std::string& path) {
    if (path.empty() || HasNul(path)) return {};
    return KernelFileSystemOf(path);
}

Result<> PosixFileServices::Flush(FileHandle file) {
    auto open = Find(file);
    if (!open) return open.failure();
    if (::fdatasync(open.value()->fd) == 0) return {};
    if (errno == EINVAL && ::fsync(open.value()->fd) == 0) return {};
    if (errno == EINVAL) return {};  // a file system that cannot sync has nothing to flush
    return LastFailure();
}

Result<> PosixFileServices::Close(FileHandle file) {
    auto it = files_.find(file);
    if (it == files_.end()) return MakeFailure(FailureNumber::BadFileName);
    const int fd = it->second->fd;
    files_.erase(it);
    if (::close(fd) != 0 && errno != EINTR) return LastFailure();
    return {};
}

void PosixFileServices::CloseAll() {
    for (auto& [handle, open] : files_) ::close(open->fd);
    files_.clear();
}

std::string PosixFileServices::Exists(const std::string& path) {
    if (path.empty() || HasNul(path)) return {};
    if (path.back() == kSeparator) {
        auto listing = ListFolder(path);
        if (!listing || listing.value().fileNames.empty()) return {};
        return listing.value().fileNames.front();
    }
    const auto named = StatName(path);
    if (!named || !S_ISREG(named.value().st_mode)) return {};
    return std::string(NamePart(path));
}

EntryKind PosixFileServices::KindOf(const std::string& path) {
    const auto named = StatName(path);
    if (!named) return EntryKind::Missing;
    const struct stat& info = named.value();
    if (S_ISREG(info.st_mode)) return EntryKind::RegularFile;
    if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
    return EntryKind::Other;
}

Result<std::uint64_t> PosixFileServices::NameCount(const std::string& path) {
    const auto named = StatName(path);
    if (!named) return named.failure();
    return static_cast<std::uint64_t>(named.value().st_nlink);
}

bool PosixFileServices::IsSystemRoot(const std::string& path) {
    struct stat target {
    }, root{};
    if (HasNul(path) || ::stat(path.c_str(), &target) != 0 || ::stat("/", &root) != 0) return false;
    return target.st_dev == root.st_dev && target.st_ino == root.st_ino;
}

Result<> PosixFileServices::Delete(const std::string& path) {
    const auto where = Locate(path);
    if (!where) return where.failure();
    if (::unlinkat(where.value().folder, where.value().name.c_str(), 0) != 0) {
        if (errno == EISDIR) return MakeFailure(FailureNumber::PermissionDenied);
        return LastFailure();
    }
    return {};
}

Result<> PosixFileServices::Rename(const std::string& from, const std::string& to) {
    // Both names are reached from the same anchor: the source folder's handle is kept apart, since
    // reaching the target's folder may close it.
    const auto source = Locate(from);
    if (!source) return source.failure();
    int sourceFolder = source.value().folder;
    const bool sameFolder = from.substr(0, from.rfind(kSeparator)) == to.substr(0, to.rfind(kSeparator));
    if (sourceFolder != AT_FDCWD && !sameFolder) sourceFolder = ::fcntl(sourceFolder, F_DUPFD_CLOEXEC, 0);
    if (sourceFolder < 0 && sourceFolder != AT_FDCWD) return LastFailure();
    struct Closer {
        int fd;
        ~Closer() {
            if (fd >= 0) ::close(fd);
        }
    } closer{sourceFolder == AT_FDCWD || sameFolder ? -1 : sourceFolder};
    const auto target = Locate(to);
    if (!target) return target.failure();
    const char* fromName = source.value().name.c_str();
    const char* toName = target.value().name.c_str();
    if (::renameat2(sourceFolder, fromName, target.value().folder, toName, RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS) return LastFailure();
    // A file system without no-replace renames: check first, then rename.
    struct stat info {};
    if (::fstatat(target.value().folder, toName, &info, AT_SYMLINK_NOFOLLOW) == 0) {
        return MakeFailure(FailureNumber::FileExists);
    }
    if (::renameat(sourceFolder, fromName, target.value().folder, toName) != 0) return LastFailure();
    return {};
}

Result<> PosixFileServices::MakeFolder(const std::string& path) {
    const auto where = Locate(path);
    if (!where) return where.failure();
    if (::mkdirat(where.value().folder, where.value().name.c_str(), 0777) != 0) return LastFailure();
    return {};
}

Result<> PosixFileServices::RemoveFolder(const std::string& path) {
    const auto where = Locate(path);
    if (!where) return where.failure();
    const int folder = where.value().folder;
    const char* name = where.value().name.c_str();
    // The folder's own blocks reach the disk first: the file system blanks the names removed from it,
    // but blocks released while that change is still in memory keep the old names on the disk.
    const int own = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (own >= 0) {
        (void)::fsync(own);
        ::close(own);
    }
    if (::unlinkat(folder, name, AT_REMOVEDIR) != 0) return LastFailure();
    return {};
}

Result<std::uint32_t> PosixFileServices::GetAttributes(const std::string& path) {
    const auto named = StatName(path);
    if (!named) return named.failure();
    const struct stat& info = named.value();
    std::uint32_t attributes = 0;
    if (S_ISDIR(info.st_mode)) attributes |= Attribute::Folder;
    if ((info.st_mode & S_IWUSR) == 0) attributes |= Attribute::ReadOnly;
    return attributes == 0 ? Attribute::Normal : attributes;
}

Result<> PosixFileServices::SetAttributes(const std::string& path, std::uint32_t attributes) {
    const auto where = Locate(path);
    if (!where) return where.failure();
    const int folder = where.value().folder;
    const char* name = where.value().name.c_str();
    struct stat info {};
    if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return LastFailure();
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) return {};  // links and special files keep theirs
    mode_t mode = info.st_mode & 07777;
    if (attributes & Attribute::ReadOnly) {
        mode &= ~static_cast<mode_t>(S_IWUSR);
    } else if (attributes & (Attribute::Normal | Attribute::Archive)) {
        mode |= S_IRUSR | S_IWUSR;
        if (S_ISDIR(info.st_mode)) mode |= S_IXUSR;
    }
    // Never through a link, also not one put in the file's place since the look above.
    if (mode != (info.st_mode & 07777) && ::fchmodat(folder, name, mode, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == EOPNOTSUPP) return {};
        return LastFailure();
    }
    return {};
}

Result<FolderListing> PosixFileServices::ListFolder(const std::string& path) {
    const auto opened = OpenFolder(path);
    if (!opened) return opened.failure();
    const int descriptor = opened.value();
    DIR* folder = ::fdopendir(descriptor);
    if (folder == nullptr) {
        ::close(descriptor);
        return LastFailure();
    }
    FolderListing listing;
    const MountIdentity self = MountOf(::dirfd(folder), "");
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(folder);
        if (entry == nullptr) {
            if (errno == 0) break;
            const Failure failure = LastFailure();
            ::closedir(folder);
            return failure;  // a listing cut short is no listing: the folder would look emptier than it is
        }
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat info {};
        if (::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(info.st_mode)) {
            listing.fileNames.push_back(name);
        } else if (S_ISDIR(info.st_mode)) {
            const bool sameMount = MountOf(::dirfd(folder), entry->d_name) == self;
            (sameMount ? listing.subFolders : listing.mountPoints).push_back(JoinPath(path, name));
        } else {
            listing.others.push_back(JoinPath(path, name));
        }
    }
    ::closedir(folder);
    std::sort(listing.fileNames.begin(), listing.fileNames.end());
    std::sort(listing.subFolders.begin(), listing.subFolders.end());
    std::sort(listing.mountPoints.begin(), listing.mountPoints.end());
    std::sort(listing.others.begin(), listing.others.end());
    return listing;
}

Result<FreeSpace> PosixFileServices::QueryFreeSpace(const std::string& mountPoint) {
    if (HasNul(mountPoint)) return MakeFailure(FailureNumber::BadFileName);
    struct statvfs info {};
    if (mountPoint.empty() || ::statvfs(mountPoint.c_str(), &info) != 0) {
        return mountPoint.empty() ? MakeFailure(FailureNumber::FileNotFound) : LastFailure();
    }
    FreeSpace space;
    space.freeToCaller = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    space.total = static_cast<std::uint64_t>(info.f_blocks) * info.f_frsize;
    space.totalFree = static_cast<std::uint64_t>(info.f_bfree) * info.f_frsize;
    return space;
}

}  // namespace scorvane
