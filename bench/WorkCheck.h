#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace scorvane {

// What a benchmark case did, so that a case that did no work fails instead of printing a fast figure.

// Bytes this process has handed to write calls so far (wchar of /proc/self/io); none when unreadable.
std::optional<std::uint64_t> BytesWrittenSoFar();

// The bytes of the regular files in a tree, links not followed; 0 for a missing path.
std::uint64_t BytesInTree(const std::string& path);

// True when anything, a link included, has this name.
bool NameExists(const std::string& path);

// Says loudly on stderr why the case failed (it did no work, or not all of it) and returns its exit status, 1.
int Failed(const std::string& why);

}  // namespace scorvane
