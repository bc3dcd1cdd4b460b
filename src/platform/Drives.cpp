#include "platform/Drives.h"

#include <QStorageInfo>
#include <algorithm>

namespace scorvane {

std::vector<std::string> SystemDrives::MountPoints() {
    static const QList<QByteArray> kLeftOut = {"tmpfs", "overlay", "squashfs", "devtmpfs", "ramfs", "proc",
                                               "sysfs", "cgroup",  "cgroup2",  "autofs",   "nsfs"};
    std::vector<std::string> mounts;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isReadOnly()) continue;
        if (kLeftOut.contains(volume.fileSystemType())) continue;
        mounts.push_back(volume.rootPath().toStdString());
    }
    std::sort(mounts.begin(), mounts.end());
    mounts.erase(std::unique(mounts.begin(), mounts.end()), mounts.end());
    return mounts;
}

}  // namespace scorvane
