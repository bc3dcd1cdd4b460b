#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scorvane {

// The drives the program offers: mounted, disk-backed file systems that are ready and writable.
class DriveProvider {
public:
    virtual ~DriveProvider() = default;
    // Mount points, each a whole path.
    virtual std::vector<std::string> MountPoints() = 0;
};

// A mounted volume and the file system it shows (the device number of its root; empty when unknown).
struct MountedVolume {
    std::string mountPoint;
    std::optional<std::uint64_t> fileSystem;
};

// Each file system once, by the mount point nearest the root (a second mount or a bind mount of the
// same file system is the same drive), sorted; a volume whose file system is unknown is kept as it is.
std::vector<std::string> OnePerFileSystem(const std::vector<MountedVolume>& volumes);

// The drives of this machine (tmpfs, overlay, squashfs and read-only volumes left out), each file
// system once.
class SystemDrives final : public DriveProvider {
public:
    std::vector<std::string> MountPoints() override;
};

}  // namespace scorvane
