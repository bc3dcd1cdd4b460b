#include "platform/AnchoredTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/Failure.h"

namespace scorvane {

namespace {

// Open folder handles kept below the top folder: the deepest ones, so that a walk moves up and down
// without reopening, while a tree of any depth stays far below the process's limit.
constexpr std::size_t kOpenLevels = 48;

constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

Failure NotAFolder() { return MakeFailure(FailureNumber::FileNotFound); }

// The folder that holds the last of `split`'s names, opened along the path as the user gave it.
Result<int> OpenHolder(const PathNames& split) {
    std::string top = split.absolute ? "/" : "";
    for (std::size_t i = 0; i + 1 < split.names.size(); ++i) top += std::string(split.names[i]) + "/";
    if (top.empty()) top = ".";
    int fd;
    do {
        fd = ::open(top.c_str(), kFolderFlags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return FailureFromErrno(errno);
    return fd;
}

}  // namespace

std::optional<EntryPlace> PlaceOf(int fd, const char* name) {
    struct statx info {};
    const int flags = AT_SYMLINK_NOFOLLOW | (*name == '\0' ? AT_EMPTY_PATH : 0);
    if (::statx(fd, name, flags, STATX_TYPE | STATX_INO | STATX_MNT_ID, &info) != 0) return std::nullopt;
    EntryPlace place;
    place.device = makedev(info.stx_dev_major, info.stx_dev_minor);
    place.inode = info.stx_ino;
    place.mount = (info.stx_mask & STATX_MNT_ID) ? info.stx_mnt_id : 0;
    place.folder = S_ISDIR(info.stx_mode);
    return place;
}

ChosenPlace LookAtChosen(std::string_view chosen) {
    ChosenPlace seen;
    const PathNames split = SplitPath(chosen);
    if (split.names.empty() || split.names.back() == "..") {
        seen.failure = NotAFolder();
        return seen;
    }
    const auto holder = OpenHolder(split);
    if (!holder) {
        seen.failure = holder.failure();
        return seen;
    }
    const auto folder = PlaceOf(holder.value(), "");
    if (folder) {
        seen.folder = *folder;
        seen.entry = PlaceOf(holder.value(), std::string(split.names.back()).c_str());
    } else {
        seen.failure = FailureFromErrno(errno);
    }
    ::close(holder.value());
    return seen;
}

PathNames SplitPath(std::string_view path) {
    PathNames split;
    split.absolute = !path.empty() && path.front() == '/';
    while (!path.empty()) {
        const auto end = path.find('/');
        const std::string_view name = path.substr(0, end);
        if (!name.empty() && name != ".") split.names.push_back(name);
        path.remove_prefix(end == std::string_view::npos ? path.size() : end + 1);
    }
    return split;
}

bool AnchoredTree::SetNames(std::string_view chosen) {
    const PathNames split = SplitPath(chosen);
    if (split.names.empty() || split.names.back() == "..") return false;
    absolute_ = split.absolute;
    for (std::size_t i = 0; i + 1 < split.names.size(); ++i) parent_.emplace_back(split.names[i]);
    chosen_ = split.names.back();
    return true;
}

Result<AnchoredTree> AnchoredTree::Open(std::string_view chosen, const ChosenPlace* recorded) {
    AnchoredTree tree;
    if (!tree.SetNames(chosen)) return NotAFolder();
    if (recorded != nullptr && recorded->failure) return *recorded->failure;
    const auto fd = OpenHolder(SplitPath(chosen));
    if (!fd) return fd.failure();
    const EntryPlace place = PlaceOf(fd.value(), "").value_or(EntryPlace{});
    tree.levels_.push_back(Level{"", place.device, place.inode, place.mount, fd.value()});
    if (recorded != nullptr) {
        if (!(place == recorded->folder)) return MakeFailure(FailureNumber::ChangedSinceChosen);
        tree.chosenPlace_ = recorded->entry;
    } else {
        tree.chosenPlace_ = PlaceOf(fd.value(), tree.chosen_.c_str());
    }
    return tree;
}

AnchoredTree AnchoredTree::Refusing(std::string_view chosen, Failure failure) {
    AnchoredTree tree;
    (void)tree.SetNames(chosen);
    tree.refused_ = std::move(failure);
    return tree;
}

AnchoredTree::AnchoredTree(AnchoredTree&& other) noexcept
    : parent_(std::move(other.parent_)),
      absolute_(other.absolute_),
      chosen_(std::move(other.chosen_)),
      chosenPlace_(other.chosenPlace_),
      refused_(std::move(other.refused_)),
      levels_(std::move(other.levels_)),
      mount_(other.mount_),
      chosenDevice_(other.chosenDevice_),
      open_(other.open_) {
    other.levels_.clear();
    other.open_ = 0;
}

AnchoredTree::~AnchoredTree() {
    for (const Level& level : levels_) {
        if (level.fd >= 0) ::close(level.fd);
    }
}

bool AnchoredTree::Holds(const PathNames& path) const {
    if (chosen_.empty() || path.absolute != absolute_ || path.names.size() <= parent_.size()) return false;
    for (std::size_t i = 0; i < parent_.size(); ++i) {
        if (path.names[i] != parent_[i]) return false;
    }
    const std::size_t below = path.names.size() - parent_.size();
    for (std::size_t i = parent_.size(); i < path.names.size(); ++i) {
        if (path.names[i] == "..") return false;
    }
    return below == 1 || path.names[parent_.size()] == chosen_;
}

bool AnchoredTree::IsTop(const PathNames& path) const {
    if (path.absolute != absolute_ || path.names.size() != parent_.size()) return false;
    return std::equal(parent_.begin(), parent_.end(), path.names.begin());
}

Result<int> AnchoredTree::Folder(const PathNames& path) {
    const std::vector<std::string_view> below(path.names.begin() + static_cast<std::ptrdiff_t>(parent_.size()),
                                              path.names.end());
    return Reach(below, below.size());
}

Result<int> AnchoredTree::ParentOf(const PathNames& path) {
    const std::vector<std::string_view> below(path.names.begin() + static_cast<std::ptrdiff_t>(parent_.size()),
                                              path.names.end());
    return Reach(below, below.size() - 1);
}

std::optional<EntryPlace> AnchoredTree::ChosenEntry(const PathNames& path) const {
    if (!chosenPlace_ || path.names.size() != parent_.size() + 1 || path.names.back() != chosen_) return std::nullopt;
    return chosenPlace_;
}

Result<int> AnchoredTree::Reach(const std::vector<std::string_view>& names, std::size_t count) {
    if (refused_) return *refused_;
    std::size_t common = 0;
    while (common < count && common + 1 < levels_.size() && levels_[common + 1].name == names[common]) ++common;
    if (levels_[common].fd < 0 && !ReopenUpTo(common)) {
        // A folder on the way up was moved since it was met: find the way again by name from the top.
        Truncate(1);
        common = 0;
    }
    Truncate(common + 1);
    for (std::size_t i = common; i < count; ++i) {
        if (auto entered = Descend(names[i]); !entered) return entered.failure();
    }
    return levels_.back().fd;
}

Result<> AnchoredTree::Descend(std::string_view name) {
    if (name == "..") return NotAFolder();
    const std::string text(name);
    int fd;
    do {
        // A link is never followed: with O_DIRECTORY it is "not a folder".
        fd = ::openat(levels_.back().fd, text.c_str(), kFolderFlags | O_NOFOLLOW);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return errno == ELOOP ? NotAFolder() : FailureFromErrno(errno);
    const auto found = PlaceOf(fd, "");
    if (!found) {
        const Failure failure = FailureFromErrno(errno);
        ::close(fd);
        return failure;
    }
    const EntryPlace& place = *found;
    if (levels_.size() == 1) {
        // The chosen folder itself: only the one met when the tree was opened, never a folder moved
        // into its name or mounted over it since.
        if (chosenPlace_ && !(place == *chosenPlace_)) {
            ::close(fd);
            return MakeFailure(FailureNumber::ChangedSinceChosen);
        }
        chosenPlace_ = place;
        mount_ = place.mount;
        chosenDevice_ = place.device;
    } else if (place.mount != mount_ || place.device != chosenDevice_) {
        ::close(fd);
        return NotAFolder();  // another file system is never entered
    }
    levels_.push_back(Level{text, place.device, place.inode, place.mount, fd});
    if (++open_ > kOpenLevels) CloseShallowest();
    return {};
}

bool AnchoredTree::ReopenUpTo(std::size_t level) {
    std::size_t shallowest = levels_.size() - open_;
    while (shallowest > level) {
        const std::size_t up = shallowest - 1;
        const int fd = ::openat(levels_[shallowest].fd, "..", kFolderFlags);
        const auto place = fd < 0 ? std::nullopt : PlaceOf(fd, "");
        if (!place || place->device != levels_[up].device || place->inode != levels_[up].inode) {
            if (fd >= 0) ::close(fd);
            return false;
        }
        levels_[up].fd = fd;
        ++open_;
        // The deeper folder is left on the way up: keep only as many open as the bound allows.
        if (open_ > kOpenLevels) {
            ::close(levels_[levels_.size() - 1].fd);
            levels_.pop_back();
            --open_;
        }
        shallowest = up;
    }
    return true;
}

void AnchoredTree::Truncate(std::size_t size) {
    while (levels_.size() > size) {
        if (levels_.back().fd >= 0) {
            ::close(levels_.back().fd);
            --open_;
        }
        levels_.pop_back();
    }
}

void AnchoredTree::CloseShallowest() {
    Level& shallowest = levels_[levels_.size() - open_];
    ::close(shallowest.fd);
    shallowest.fd = -1;
    --open_;
}

}  // namespace scorvane
