#include "platform/Drives.h"

#include <sys/stat.h>

#include <QStorageInfo>
#include <algorithm>
#include <map>

namespace scorvane {

namespace {
// How deep below the root a mount point lies, then its length: the smaller is nearer the root.
std::pair<long, std::size_t> Depth(const std::string& mountPoint) {
    return {std::count(mountPoint.begin(), mountPoint.end(), '/') - (mountPoint.size() > 1 && mountPoint.back() == '/'),
            mountPoint.size()};
}
}  // namespace

std::vector<std::string> OnePerFileSystem(const std::vector<MountedVolume>& volumes) {
    std::vector<std::string> mounts;
    std::map<std::uint64_t, std::string> nearest;
    for (const auto& [mountPoint, fileSystem] : volumes) {
        if (!fileSystem) {
            mounts.push_back(mountPoint);
            continue;
        }
        auto [kept, added] = nearest.try_emplace(*fileSystem, mountPoint);
        if (!added && std::pair(Depth(mountPoint), mountPoint) < std::pair(Depth(kept->second), kept->second))
            kept->second = mountPoint;
    }
    for (const auto& [fileSystem, mountPoint] : nearest) mounts.push_back(mountPoint);
    std::sort(mounts.begin(), mounts.end());
    mounts.erase(std::unique(mounts.begin(), mounts.end()), mounts.end());
    return mounts;
}

std::vector<std::string> SystemDrives::MountPoints() {
    static const QList<QByteArray> kLeftOut = {"tmpfs", "overlay", "squashfs", "devtmpfs", "ramfs", "proc",
                                               "sysfs", "cgroup",  "cgroup2",  "autofs",   "nsfs"};
    std::vector<MountedVolume> volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isReadOnly()) continue;
        if (kLeftOut.contains(volume.fileSystemType())) continue;
        MountedVolume mounted{volume.rootPath().toStdString(), {}};
        struct stat root {};
        if (::stat(mounted.mountPoint.c_str(), &root) == 0) mounted.fileSystem = root.st_dev;
        volumes.push_back(std::move(mounted));
    }
    return OnePerFileSystem(volumes);
}

}  // namespace scorvane
