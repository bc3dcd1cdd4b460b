#include "WorkCheck.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace scorvane {

std::optional<WriteCounts> BytesWrittenSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    WriteCounts counts;
    int found = 0;
    while (io >> key >> value) {
        if (key == "wchar:") {
            counts.handed = value;
            ++found;
        } else if (key == "write_bytes:") {
            counts.sent = value;
            ++found;
        }
    }
    if (found != 2) return std::nullopt;
    return counts;
}

std::uint64_t BytesWrittenSince(const WriteCounts& before) {
    const WriteCounts now = BytesWrittenSoFar().value_or(before);
    return std::max(now.handed - before.handed, now.sent - before.sent);
}

std::uint64_t BytesInTree(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status top = fs::symlink_status(path, error);
    if (error || !fs::exists(top)) return 0;
    if (fs::is_regular_file(top)) return fs::file_size(path, error);
    std::uint64_t bytes = 0;
    for (fs::recursive_directory_iterator entry(path, error), end; !error && entry != end; entry.increment(error)) {
        if (entry->is_regular_file(error) && !entry->is_symlink(error)) bytes += entry->file_size(error);
    }
    return bytes;
}

bool NameExists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

int Failed(const std::string& why) {
    std::fprintf(stderr, "scorvane-bench: FAILED: %s\n", why.c_str());
    return 1;
}

}  // namespace scorvane
