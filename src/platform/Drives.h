#pragma once

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

// The drives of this machine (tmpfs, overlay, squashfs and read-only volumes left out).
class SystemDrives final : public DriveProvider {
public:
    std::vector<std::string> MountPoints() override;
};

}  // namespace scorvane
