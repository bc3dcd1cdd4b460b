#pragma once

#include <gtest/gtest.h>

#include <string>

namespace scorvane::testing {

// A tmpfs of `size` ("2m", "64k") mounted on `folder`, made when missing, for the life of the object and
// always unmounted at the end. Mounting needs root: where it is refused, the test skips (SKIP_UNLESS_MOUNTED).
class MountedTmpfs {
public:
    MountedTmpfs(std::string folder, std::string size);
    ~MountedTmpfs();
    MountedTmpfs(const MountedTmpfs&) = delete;
    MountedTmpfs& operator=(const MountedTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& error() const { return error_; }  // why the mount was refused
    // The same tmpfs, its content kept, made read-only; false when that was refused.
    bool RemountReadOnly();

private:
    std::string folder_, options_, error_;
    bool mounted_ = false;
};

}  // namespace scorvane::testing

// Ends the running test as skipped when `tmpfs` could not be mounted.
#define SKIP_UNLESS_MOUNTED(tmpfs)                                                                              \
    do {                                                                                                        \
        if (!(tmpfs).mounted()) GTEST_SKIP() << "cannot mount a tmpfs (" << (tmpfs).error() << "); needs root"; \
    } while (false)
