#include "platform/WriteGatherer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Failure.h"

namespace scorvane {

namespace {
constexpr std::size_t kGatherLimit = 256 * 1024;
// Room made at once for the writes of a pass over a small file, so that they are kept without growing it.
constexpr std::size_t kFirstRoom = 64 * 1024;
// A run of writes hands its data to the disk a MiB at a time and keeps at most this much of it on the way:
// the flush at the end of the run waits for the time the disk takes to write that (a few milliseconds on a
// disk of a gigabyte a second, some tens on a slow one).
constexpr std::int64_t kHandOver = 1024 * 1024;
constexpr std::int64_t kInFlight = 8 * 1024 * 1024;
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
        if (auto written = WriteOut(fd); !written) return written;
    }
    if (size > kGatherLimit) return Out(fd, offset, data, size);  // offset is the caller's copy
    if (bytes_.empty()) {
        start_ = offset;
        bytes_.reserve(kFirstRoom);
    }
    // What lies over bytes already kept replaces them; the rest is appended, never filled first.
    const auto at = static_cast<std::size_t>(offset - start_);
    const std::size_t over = std::min(size, bytes_.size() - at);
    std::memcpy(bytes_.data() + at, data, over);
    bytes_.insert(bytes_.end(), data + over, data + size);
    return {};
}

Result<> WriteGatherer::Drain(int fd) {
    const Result<> written = WriteOut(fd);
    const Result<> ended = out_.Finish();  // the writes still under way, waited for also after a failure
    return written ? ended : written;
}

Result<> WriteGatherer::WriteOut(int fd) {
    if (bytes_.empty()) return {};
    std::int64_t offset = start_;
    const Result<> written = Out(fd, offset, bytes_.data(), bytes_.size());
    bytes_.clear();
    return written;
}

Result<> WriteGatherer::WriteThrough(int fd, std::int64_t& offset, const char* data, std::size_t size) {
    return Out(fd, offset, data, size);
}

Result<> WriteGatherer::Out(int fd, std::int64_t& offset, const char* data, std::size_t size) {
    const std::int64_t from = offset;
    const Result<> written = out_.Write(fd, offset, data, size);
    if (written) SendBehind(fd, from, offset);
    return written;
}

void WriteGatherer::SendBehind(int fd, std::int64_t offset, std::int64_t end) {
    // A write wholly before the data not yet handed over begins another run (the next pass); one far
    // beyond it, too.
    if (end <= unsent_ || offset > unsent_ + 2 * kInFlight) unsent_ = unwaited_ = offset;
    // Advice only: whatever fails here fails again at the flush, which reports it.
    if (end - unsent_ >= kHandOver) {
        (void)::sync_file_range(fd, unsent_, end - unsent_, SYNC_FILE_RANGE_WRITE);
        unsent_ = end;
    }
    // Each write waits for about as much older data as it wrote: the wait is as short as the disk allows.
    if (const std::int64_t before = unsent_ - kInFlight; before > unwaited_) {
        (void)::sync_file_range(fd, unwaited_, before - unwaited_,
                                SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
        unwaited_ = before;
    }
}

}  // namespace scorvane
