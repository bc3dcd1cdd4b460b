#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "platform/AnchoredTree.h"
#include "platform/KernelFileSystems.h"
#include "platform/Paths.h"
#include "platform/PosixFileServices.h"
#include "platform/PosixSupport.h"

// The operations of the POSIX file services on names: lookups, removal, renames, folders, attributes,
// listings and the anchors through which names below a chosen item are reached.
namespace scorvane {

using namespace posix;

namespace {

// The key of a chosen path: its names as the system reads them.
std::string ChosenKey(const PathNames& names) {
    std::string key = names.absolute ? "/" : "";
    for (const std::string_view name : names.names) key.append(name).push_back('/');
    return key;
}

}  // namespace

Result<PosixFileServices::Where> PosixFileServices::Locate(const std::string& path, Use use) {
    if (path.empty() || HasNul(path)) return MakeFailure(FailureNumber::BadFileName);
    if (anchors_.empty()) return Where{AT_FDCWD, path, 0, std::nullopt};
    const PathNames names = SplitPath(path);
    for (auto tree = anchors_.rbegin(); tree != anchors_.rend(); ++tree) {
        if (!*tree || !(*tree)->Holds(names)) continue;
        auto folder = (*tree)->ParentOf(names);
        if (!folder) return folder.failure();
        Where where{folder.value(), std::string(names.names.back()), (*tree)->LastMount(), (*tree)->ChosenEntry(names)};
        if (use == Use::Existing && where.chosen) {
            const auto now = PlaceOf(where.folder, where.name.c_str());
            if (!now) return LastFailure();
            if (!(*now == *where.chosen)) return MakeFailure(FailureNumber::ChangedSinceChosen);
        }
        return where;
    }
    return Where{AT_FDCWD, path, 0, std::nullopt};
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
    NoteNameLeft(where.value().folder, where.value().name);
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
    const auto recorded = chosen_.find(ChosenKey(SplitPath(chosen)));
    auto tree = AnchoredTree::Open(chosen, recorded == chosen_.end() ? nullptr : &recorded->second);
    if (!tree) {
        // Its paths stay held: nothing is done to them by their text instead.
        anchors_.push_back(std::make_unique<AnchoredTree>(AnchoredTree::Refusing(chosen, tree.failure())));
        return tree.failure();
    }
    anchors_.push_back(std::make_unique<AnchoredTree>(std::move(tree.value())));
    return {};
}

void PosixFileServices::Unanchor() {
    if (!anchors_.empty()) anchors_.pop_back();
}

void PosixFileServices::RecordChosen(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (path.empty() || HasNul(path)) continue;
        chosen_.try_emplace(ChosenKey(SplitPath(path)), LookAtChosen(path));
    }
}

void PosixFileServices::ForgetChosen() { chosen_.clear(); }

std::string PosixFileServices::KernelFileSystem(const std::string& path) {
    if (path.empty() || HasNul(path)) return {};
    // A recorded path is judged by what it named when it was chosen, the entry every operation must find.
    const auto recorded = chosen_.find(ChosenKey(SplitPath(path)));
    if (recorded != chosen_.end() && !recorded->second.failure) {
        const ChosenPlace& place = recorded->second;
        const bool folder = place.entry && place.entry->folder;
        if (const auto type = KernelTypeOfMount(folder ? place.entry->mount : place.folder.mount)) return *type;
    }
    return KernelFileSystemOf(path);
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
    NoteNameLeft(where.value().folder, where.value().name);
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
    const auto target = Locate(to, Use::NewName);
    if (!target) return target.failure();
    const char* fromName = source.value().name.c_str();
    const char* toName = target.value().name.c_str();
    if (::renameat2(sourceFolder, fromName, target.value().folder, toName, RENAME_NOREPLACE) == 0) {
        NoteNameLeft(sourceFolder, source.value().name);
        // A chosen entry swapped for another between the look and the rename: that one goes back.
        const auto& chosen = source.value().chosen;
        if (!chosen) return {};
        const auto moved = PlaceOf(target.value().folder, toName);
        if (moved && *moved == *chosen) return {};
        (void)::renameat2(target.value().folder, toName, sourceFolder, fromName, RENAME_NOREPLACE);
        return MakeFailure(FailureNumber::ChangedSinceChosen);
    }
    if (errno != EINVAL && errno != ENOSYS) return LastFailure();
    // A file system without no-replace renames: check first, then rename.
    struct stat info {};
    if (::fstatat(target.value().folder, toName, &info, AT_SYMLINK_NOFOLLOW) == 0) {
        return MakeFailure(FailureNumber::FileExists);
    }
    if (::renameat(sourceFolder, fromName, target.value().folder, toName) != 0) return LastFailure();
    NoteNameLeft(sourceFolder, source.value().name);
    return {};
}

Result<> PosixFileServices::MakeFolder(const std::string& path) {
    const auto where = Locate(path, Use::NewName);
    if (!where) return where.failure();
    if (::mkdirat(where.value().folder, where.value().name.c_str(), 0777) != 0) return LastFailure();
    return {};
}

Result<> PosixFileServices::RemoveFolder(const std::string& path) {
    const auto where = Locate(path);
    if (!where) return where.failure();
    const int folder = where.value().folder;
    const char* name = where.value().name.c_str();
    // The folder's own blocks reach their place on the disk first: the file system blanks a name removed
    // from a folder, but a block released while that change is only in memory or in the journal keeps
    // the old name where it lies. Only a sync of the file system writes journalled blocks in place.
    const int own = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (own >= 0) {
        SyncIfNamesLeft(own);
        ::close(own);
    }
    if (::unlinkat(folder, name, AT_REMOVEDIR) != 0) return LastFailure();
    NoteNameLeft(where.value().folder, where.value().name);
    return {};
}

void PosixFileServices::NoteNameLeft(int folder, const std::string& name) {
    struct stat info {};
    int found = -1;
    if (folder != AT_FDCWD) {
        found = ::fstat(folder, &info);
    } else {
        const auto separator = name.rfind(kSeparator);
        const std::string parent = separator == std::string::npos ? "."
                                   : separator == 0               ? std::string(1, kSeparator)
                                                                  : name.substr(0, separator);
        found = ::stat(parent.c_str(), &info);
    }
    if (found == 0) namesLeft_.emplace(info.st_dev, info.st_ino);
}

void PosixFileServices::SyncIfNamesLeft(int folder) {
    struct stat info {};
    if (::fstat(folder, &info) != 0 || !namesLeft_.contains({info.st_dev, info.st_ino})) return;
    if (::syncfs(folder) != 0) return;
    std::erase_if(namesLeft_, [&info](const auto& key) { return key.first == info.st_dev; });
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

namespace {

// What one read of a folder takes in at most; a listing asks its `goOn` every few hundred entries.
constexpr std::size_t kListingBuffer = 32 * 1024;
constexpr int kEntriesPerPace = 256;

// What an entry is, from the type the listing gives; looked at by name only when the file system gives none.
// Missing: removed since the folder was read.
Result<EntryKind> KindOfEntry(int folder, const char* name, unsigned char type) {
    switch (type) {
        case DT_REG:
            return EntryKind::RegularFile;
        case DT_DIR:
            return EntryKind::Folder;
        case DT_UNKNOWN:
            break;
        default:
            return EntryKind::Other;
    }
    struct stat info {};
    if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return EntryKind::Missing;
        return LastFailure();
    }
    return IdentityOf(info).kind;
}

}  // namespace

Result<FolderListing> PosixFileServices::ListFolder(const std::string& path) { return ListFolderPaced(path, {}); }

Result<FolderListing> PosixFileServices::ListFolderPaced(const std::string& path, const std::function<bool()>& goOn) {
    const auto opened = OpenFolder(path);
    if (!opened) return opened.failure();
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } const folder{opened.value()};
    // Each entry is looked at once: by the type the listing gives, and a sub-folder by its mount.
    FolderListing listing;
    std::optional<MountIdentity> self;  // looked at when the first sub-folder comes
    const auto buffer = std::make_unique_for_overwrite<char[]>(kListingBuffer);
    int sincePace = 0;
    for (;;) {
        const ssize_t got = ::getdents64(folder.fd, buffer.get(), kListingBuffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return LastFailure();  // a listing cut short is no listing: the folder would look emptier than it is
        }
        if (got == 0) break;
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer.get() + at);
            at += entry->d_reclen;
            if (goOn && ++sincePace == kEntriesPerPace) {
                sincePace = 0;
                if (!goOn()) return MakeFailure(FailureNumber::InvalidCall);
            }
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
            const auto kind = KindOfEntry(folder.fd, name, entry->d_type);
            // An entry left out unseen would make the folder look emptier than it is.
            if (!kind) return kind.failure();
            switch (kind.value()) {
                case EntryKind::RegularFile:
                    listing.fileNames.emplace_back(name);
                    break;
                case EntryKind::Folder: {
                    if (!self) self = MountOf(folder.fd, "");
                    const bool sameMount = MountOf(folder.fd, name) == *self;
                    (sameMount ? listing.subFolders : listing.mountPoints).push_back(JoinPath(path, name));
                    break;
                }
                case EntryKind::Other:
                    listing.others.push_back(JoinPath(path, name));
                    break;
                case EntryKind::Missing:
                    break;
            }
        }
    }
    if (goOn && !goOn()) return MakeFailure(FailureNumber::InvalidCall);
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
