#include "platform/Drives.h"

#include <gtest/gtest.h>

namespace scorvane::testing {
namespace {

// A bind mount or a second mount of a file system is the same drive: it is listed once, by the mount
// point nearest the root, so that the user sees which file system a free-space wipe fills.
TEST(Drives, EachFileSystemIsListedOnceByTheMountPointNearestTheRoot) {
    const std::vector<MountedVolume> volumes = {
        {"/srv/data/bound", 1},   {"/", 1},      {"/home", 2}, {"/mnt/home-again", 2},
        {"/media/usb", 3},        {"/b", 4},     {"/a", 4},    {"/unknown/one", std::nullopt},
        {"/media", std::nullopt}, {"/a/b/c", 5},
    };
    EXPECT_EQ(OnePerFileSystem(volumes),
              (std::vector<std::string>{"/", "/a", "/a/b/c", "/home", "/media", "/media/usb", "/unknown/one"}));
}

}  // namespace
}  // namespace scorvane::testing
