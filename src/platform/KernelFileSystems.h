#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace scorvane {

// The type of the kernel file system (proc, sysfs, efivarfs, ...) that the entry at `path` lies on, or
// the empty text when it lies on a file system that holds data. A folder counts by its own file system
// (a mount point is the file system mounted there); any other name by its folder's, never by what a
// link points to.
std::string KernelFileSystemOf(const std::string& path);
// The same for the mount with this id (as statx gives it): nothing when the mount table cannot tell.
std::optional<std::string> KernelTypeOfMount(std::uint64_t mount);

}  // namespace scorvane
