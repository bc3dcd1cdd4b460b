#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace scorvane {

// The names of a path as the system reads them: empty and "." parts dropped.
struct PathNames {
    bool absolute = false;
    std::vector<std::string_view> names;
};
PathNames SplitPath(std::string_view path);

// Where an entry is, seen without following a link: two places are the same entry only when the device,
// the inode and the mount all agree (a bind mount or a folder moved into the name is another place).
struct EntryPlace {
    dev_t device = 0;
    ino_t inode = 0;
    std::uint64_t mount = 0;
    bool folder = false;
    bool operator==(const EntryPlace& other) const {
        return device == other.device && inode == other.inode && mount == other.mount;
    }
};

// What a chosen path named when it was chosen: the folder that held it and the entry itself.
struct ChosenPlace {
    std::optional<Failure> failure;  // the folder could not be reached then
    EntryPlace folder;
    std::optional<EntryPlace> entry;  // no such entry then
};
ChosenPlace LookAtChosen(std::string_view chosen);
// The place of the entry `name` in the folder `fd` (an empty name: the folder itself), or nothing.
std::optional<EntryPlace> PlaceOf(int fd, const char* name);

// A chosen file or folder held by an open handle of the folder that holds it, so that no later change of
// the path text (a folder swapped for a link, a parent moved) can redirect what is done to it or below it.
// Folders below the chosen one are reached name by name from there, never through a link and never onto
// another mount; any depth works with a bounded number of open handles. A folder reopened through ".."
// must be the one met on the way down.
class AnchoredTree {
public:
    // Opens the folder that holds `chosen` (its path as the user gave it). Fails for a name that is "..",
    // and with ChangedSinceChosen when `recorded` is given and the folder is no longer the one it names.
    // The chosen entry is the one recorded, else the one the name holds now; every later reach of it
    // must find that same entry.
    static Result<AnchoredTree> Open(std::string_view chosen, const ChosenPlace* recorded = nullptr);
    // A tree that holds the paths of `chosen` and fails every reach with `failure`.
    static AnchoredTree Refusing(std::string_view chosen, Failure failure);
    AnchoredTree(AnchoredTree&& other) noexcept;
    AnchoredTree& operator=(AnchoredTree&&) = delete;
    AnchoredTree(const AnchoredTree&) = delete;
    ~AnchoredTree();

    // True for the chosen entry, for names beside it in its folder, and for every name below it.
    bool Holds(const PathNames& path) const;
    // A handle of the folder at `path` (held), valid until the next call.
    Result<int> Folder(const PathNames& path);
    // A handle of the folder that holds the last name of `path` (held), valid until the next call.
    Result<int> ParentOf(const PathNames& path);
    // The mount of the folder the last call reached.
    std::uint64_t LastMount() const { return levels_.back().mount; }
    // The chosen entry as it was when the tree was opened, when `path` names it itself.
    std::optional<EntryPlace> ChosenEntry(const PathNames& path) const;
    // True for the path of the folder that holds the chosen entry, whose handle TopFolder is.
    bool IsTop(const PathNames& path) const;
    int TopFolder() const { return levels_.front().fd; }

private:
    struct Level {
        std::string name;
        dev_t device = 0;
        ino_t inode = 0;
        std::uint64_t mount = 0;
        int fd = -1;  // closed for levels above the deepest few
    };

    AnchoredTree() = default;
    bool SetNames(std::string_view chosen);
    // The folder `count` names below the top folder along `names` (which start with the chosen name).
    Result<int> Reach(const std::vector<std::string_view>& names, std::size_t count);
    Result<> Descend(std::string_view name);
    bool ReopenUpTo(std::size_t level);
    void Truncate(std::size_t size);
    void CloseShallowest();

    std::vector<std::string> parent_;  // the names of the top folder, as given
    bool absolute_ = false;
    std::string chosen_;
    std::optional<EntryPlace> chosenPlace_;
    std::optional<Failure> refused_;
    std::vector<Level> levels_;  // [0] is the top folder, always open
    std::uint64_t mount_ = 0;    // the chosen folder's mount and device: nothing below it lies elsewhere
    dev_t chosenDevice_ = 0;
    std::size_t open_ = 0;  // open levels below the top folder
};

}  // namespace scorvane
