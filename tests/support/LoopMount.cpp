#include "support/LoopMount.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TestBed.h"

namespace scorvane::testing {

namespace {
// The system tools live in sbin, which a user's PATH may leave out.
std::string ToolPath(const std::string& name) {
    for (const char* folder : {"/usr/sbin/", "/sbin/", "/usr/bin/", "/bin/"}) {
        if (::access((folder + name).c_str(), X_OK) == 0) return folder + name;
    }
    return name;
}
}  // namespace

bool RunTool(std::vector<std::string> arguments, const std::string& log) {
    arguments.front() = ToolPath(arguments.front());
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (out >= 0) {
            ::dup2(out, STDOUT_FILENO);
            ::dup2(out, STDERR_FILENO);
        }
        std::vector<char*> argv;
        for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

LoopMount::LoopMount(const std::string& root, std::vector<std::string> features, off_t size)
    : image_(root + "/disk.img"),
      folder_(root + "/mnt"),
      log_(root + "/tools.log"),
      features_(std::move(features)),
      size_(size) {}

std::string LoopMount::Mount() {
    const int fd = ::open(image_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ::ftruncate(fd, size_) != 0) return "cannot create the image";
    ::close(fd);
    if (::mkdir(folder_.c_str(), 0700) != 0) return "cannot create the mount folder";
    if (::geteuid() != 0) return "loop mount refused: the test needs root";
    std::vector<std::string> mkfs = {"mkfs.ext4", "-q", "-F"};
    for (const auto& feature : features_) mkfs.insert(mkfs.end(), {"-O", feature});
    mkfs.push_back(image_);
    if (!RunTool(mkfs, log_)) return "mkfs.ext4 failed: " + ReadBytes(log_);
    if (!RunTool({"mount", "-o", "loop", "-t", "ext4", image_, folder_}, log_)) {
        return "loop mount refused: " + ReadBytes(log_);
    }
    mounted_ = true;
    // Never write through to the filesystem that holds the temporary folder.
    struct stat inside {
    }, outside{};
    if (::stat(folder_.c_str(), &inside) != 0 || ::stat(image_.c_str(), &outside) != 0 ||
        inside.st_dev == outside.st_dev) {
        return "the folder is not a mount point after mount";
    }
    return {};
}

void LoopMount::Unmount() {
    if (!mounted_) return;
    ::sync();
    mounted_ = !RunTool({"umount", "-d", folder_}, log_);
    if (mounted_) ADD_FAILURE() << "umount failed: " << ReadBytes(log_);
}

bool LoopMount::RemountReadOnly() { return mounted_ && RunTool({"mount", "-o", "remount,ro", folder_}, log_); }

std::string LoopMount::Image() const { return ReadBytes(image_); }

}  // namespace scorvane::testing
