#include "platform/WriteGatherer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Failure.h"

namespace scorvane {

namespace {
constexpr std::size_t kGatherLimit = 256 * 1024;
}  // namespace

Result<> WriteFully(int fd, std::int64_t& offset, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, offset);
        if (written < 0) {
            if (errno == EINTR) continue;
            return FailureFromErrno(errno);
        }
        if (written == 0) return MakeFailure(FailureNumber::DiskFull);
        data += written;
        size -= static_cast<std::size_t>(written);
        offset += written;
    }
    return {};
}

Result<> WriteGatherer::Write(int fd, std::int64_t offset, const char* data, std::size_t size) {
    const std::int64_t end = start_ + static_cast<std::int64_t>(bytes_.size());
    const bool joins = !bytes_.empty() && offset >= start_ && offset <= end &&
                       offset + static_cast<std::int64_t>(size) - start_ <= static_cast<std::int64_t>(kGatherLimit);
    if (!bytes_.empty() && !joins) {
        if (auto drained = Drain(fd); !drained) return drained;
    }
    if (size > kGatherLimit) return WriteFully(fd, offset, data, size);  // offset is the caller's copy
    if (bytes_.empty()) start_ = offset;
    const auto at = static_cast<std::size_t>(offset - start_);
    if (at + size > bytes_.size()) bytes_.resize(at + size);
    std::memcpy(bytes_.data() + at, data, size);
    return {};
}

Result<> WriteGatherer::Drain(int fd) {
    if (bytes_.empty()) return {};
    std::int64_t offset = start_;
    const Result<> written = WriteFully(fd, offset, bytes_.data(), bytes_.size());
    bytes_.clear();
    return written;
}

}  // namespace scorvane
