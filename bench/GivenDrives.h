#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/Drives.h"

namespace scorvane {

// The drive list of a benchmark: exactly the mount points it was given.
class GivenDrives final : public DriveProvider {
public:
    explicit GivenDrives(std::vector<std::string> mounts = {}) : mounts_(std::move(mounts)) {}
    std::vector<std::string> MountPoints() override { return mounts_; }

private:
    std::vector<std::string> mounts_;
};

}  // namespace scorvane
