#pragma once

#include <string>
#include <unordered_set>
#include <vector>

namespace scorvane {

// What the current run of a command could not destroy: the chosen files and folders that are still there,
// in the order they were met, and the kinds of failure already shown in a box during the run. A run that
// holds any item never ends as completed.
class RunRecord {
public:
    void Clear() {
        items_.clear();
        known_.clear();
        shownKinds_.clear();
    }
    // Notes the item found at `path`, named in the closing message as `named` (the path itself when empty);
    // false when it was noted already.
    bool Add(const std::string& path, const std::string& named = {}) {
        if (!known_.insert(path).second) return false;
        items_.push_back(named.empty() ? path : named);
        return true;
    }
    bool Holds(const std::string& path) const { return known_.count(path) != 0; }
    bool empty() const { return items_.empty(); }
    // The items as the closing message names them.
    const std::vector<std::string>& items() const { return items_; }
    // True the first time in the run that a failure of this kind (its number) is met: only that one is shown
    // in a box, so that a failing drive gives one box instead of one per file.
    bool FirstOfKind(int kind) { return shownKinds_.insert(kind).second; }

private:
    std::vector<std::string> items_;
    std::unordered_set<std::string> known_;
    std::unordered_set<int> shownKinds_;
};

}  // namespace scorvane
