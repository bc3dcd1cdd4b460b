#pragma once

#include <sys/types.h>

#include <cstdint>
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

// A chosen file or folder held by an open handle of the folder that holds it, so that no later change of
// the path text (a folder swapped for a link, a parent moved) can redirect what is done to it or below it.
// Folders below the chosen one are reached name by name from there, never through a link and never onto
// another mount; any depth works with a bounded number of open handles. A folder reopened through ".."
// must be the one met on the way down.
class AnchoredTree {
public:
    // Opens the folder that holds `chosen` (its path as the user gave it). Fails for a name that is "..".
    static Result<AnchoredTree> Open(std::string_view chosen);
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

private:
    struct Level {
        std::string name;
        dev_t device = 0;
        ino_t inode = 0;
        std::uint64_t mount = 0;
        int fd = -1;  // closed for levels above the deepest few
    };

    AnchoredTree() = default;
    // The folder `count` names below the top folder along `names` (which start with the chosen name).
    Result<int> Reach(const std::vector<std::string_view>& names, std::size_t count);
    Result<> Descend(std::string_view name);
    bool ReopenUpTo(std::size_t level);
    void Truncate(std::size_t size);
    void CloseShallowest();

    std::vector<std::string> parent_;  // the names of the top folder, as given
    bool absolute_ = false;
    std::string chosen_;
    std::vector<Level> levels_;  // [0] is the top folder, always open
    std::uint64_t mount_ = 0;    // the chosen folder's mount and device: nothing below it lies elsewhere
    dev_t chosenDevice_ = 0;
    std::size_t open_ = 0;  // open levels below the top folder
};

}  // namespace scorvane
