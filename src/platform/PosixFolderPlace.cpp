#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/AnchoredTree.h"
#include "platform/PosixFileServices.h"
#include "platform/PosixSupport.h"

// Where a folder lies, as the POSIX file services reach it: the check that an anchor's folders are
// those of the drive or tree they were chosen on.
namespace scorvane {

using namespace posix;

namespace {

// A kernel that does not tell whether a folder is a mount's root: it is when its parent lies on another
// mount, or when it is its own parent (the system's root).
bool ParentIsElsewhere(int folder, const struct statx& self) {
    const int parent = ::openat(folder, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0) return false;
    struct statx up {};
    const bool looked = ::statx(parent, "", AT_EMPTY_PATH, STATX_INO | STATX_MNT_ID, &up) == 0;
    ::close(parent);
    if (!looked) return false;
    if (up.stx_ino == self.stx_ino && up.stx_dev_major == self.stx_dev_major &&
        up.stx_dev_minor == self.stx_dev_minor) {
        return true;
    }
    if (up.stx_dev_major != self.stx_dev_major || up.stx_dev_minor != self.stx_dev_minor) return true;
    return (up.stx_mask & self.stx_mask & STATX_MNT_ID) && up.stx_mnt_id != self.stx_mnt_id;
}

}  // namespace

Result<FolderPlace> PosixFileServices::PlaceOfFolder(const std::string& path) {
    if (path.empty() || HasNul(path)) return MakeFailure(FailureNumber::BadFileName);
    const PathNames names = SplitPath(path);
    int folder = -1;
    for (auto tree = anchors_.rbegin(); tree != anchors_.rend() && folder < 0; ++tree) {
        if (!*tree) continue;
        if ((*tree)->IsTop(names)) {
            folder = (*tree)->TopFolder();
        } else if ((*tree)->Holds(names)) {
            const auto reached = (*tree)->Folder(names);
            if (!reached) return reached.failure();
            folder = reached.value();
        }
    }
    int own = -1;
    if (folder < 0) {
        own = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (own < 0) return errno == ELOOP ? MakeFailure(FailureNumber::FileNotFound) : LastFailure();
        folder = own;
    }
    struct statx info {};
    const bool looked = ::statx(folder, "", AT_EMPTY_PATH, STATX_TYPE | STATX_INO | STATX_MNT_ID, &info) == 0;
    const Failure failure = looked ? Failure{} : LastFailure();
    FolderPlace place;
    if (looked) {
        place.device = makedev(info.stx_dev_major, info.stx_dev_minor);
        place.inode = info.stx_ino;
        place.mount = (info.stx_mask & STATX_MNT_ID) ? info.stx_mnt_id : 0;
        place.mountRoot = (info.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT)
                              ? (info.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0
                              : ParentIsElsewhere(folder, info);
    }
    if (own >= 0) ::close(own);
    if (!looked) return failure;
    return place;
}

}  // namespace scorvane
