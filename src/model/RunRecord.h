#pragma once

#include <string>
#include <unordered_set>
#include <vector>

namespace scorvane {

// What the current run of a command could not destroy: the paths of chosen files and folders that are
// still there, in the order they were met. A run that holds any never ends as completed.
class RunRecord {
public:
    void Clear() {
        items_.clear();
        known_.clear();
    }
    // Notes the path; false when it was noted already.
    bool Add(const std::string& path) {
        if (!known_.insert(path).second) return false;
        items_.push_back(path);
        return true;
    }
    bool Holds(const std::string& path) const { return known_.count(path) != 0; }
    bool empty() const { return items_.empty(); }
    const std::vector<std::string>& items() const { return items_; }

private:
    std::vector<std::string> items_;
    std::unordered_set<std::string> known_;
};

}  // namespace scorvane
