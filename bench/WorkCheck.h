#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace scorvane {

// What a benchmark case did, so that a case that did no work fails instead of printing a fast figure.

// What this process has written so far, from /proc/self/io: the bytes handed to write calls (wchar), and
// those sent towards the disk (write_bytes), which also counts the writes handed to the disk asynchronously.
struct WriteCounts {
    std::uint64_t handed = 0;
    std::uint64_t sent = 0;
};
// None when /proc/self/io cannot be read.
std::optional<WriteCounts> BytesWrittenSoFar();
// The bytes written since `before`: the larger of the two counts' growth.
std::uint64_t BytesWrittenSince(const WriteCounts& before);

// The bytes of the regular files in a tree, links not followed; 0 for a missing path.
std::uint64_t BytesInTree(const std::string& path);

// True when anything, a link included, has this name.
bool NameExists(const std::string& path);

// Says loudly on stderr why the case failed (it did no work, or not all of it) and returns its exit status, 1.
int Failed(const std::string& why);

}  // namespace scorvane
