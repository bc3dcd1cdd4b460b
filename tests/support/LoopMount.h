#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace scorvane::testing {

// Runs a system tool (looked up in sbin too) with its output in `log`; true when it exits with 0.
bool RunTool(std::vector<std::string> arguments, const std::string& log);

// A fresh ext4 image loop-mounted on a folder of the test's own temporary folder; unmounted (and its loop
// device detached) at the end, whatever happens. ext4 has what a tmpfs may lack: immutable files, a
// journal, and the blocks of a real disk to scan.
class LoopMount {
public:
    explicit LoopMount(const std::string& root, std::vector<std::string> features = {}, off_t size = 8 * 1024 * 1024);
    ~LoopMount() { Unmount(); }
    LoopMount(const LoopMount&) = delete;
    LoopMount& operator=(const LoopMount&) = delete;

    // Empty when mounted; otherwise why not ("loop mount refused: ..." where mounting needs root).
    std::string Mount();
    void Unmount();
    // The same file system, its content kept, made read-only; false when that was refused.
    bool RemountReadOnly();

    std::string File(const std::string& name) const { return folder_ + "/" + name; }
    const std::string& folder() const { return folder_; }
    const std::string& image() const { return image_; }
    std::string Image() const;

private:
    std::string image_;
    std::string folder_;
    std::string log_;
    std::vector<std::string> features_;
    off_t size_;
    bool mounted_ = false;
};

}  // namespace scorvane::testing

// Ends the running test as skipped when the image cannot be mounted (not root), and fails it when
// anything else went wrong.
#define MOUNT_OR_SKIP(mount)                                                      \
    do {                                                                          \
        const std::string refused = (mount).Mount();                              \
        if (refused.rfind("loop mount refused", 0) == 0) GTEST_SKIP() << refused; \
        ASSERT_EQ(refused, "");                                                   \
    } while (false)
