#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <vector>

#include "platform/DirectWrites.h"
#include "platform/Result.h"

namespace scorvane {

// Writes to one file, gathered in memory while each one continues or overlaps those before it, and
// written out in one call: the many small writes of a pass over a small file cost one system call, and
// the bytes on disk are those the writes one by one would have left. Memory stays bounded: a run of
// writes longer than the limit goes out as it grows, and a large write is never copied. What goes out
// takes the file's direct path where it has one (see DirectWrites).
class WriteGatherer {
public:
    // For the open file `fd`, whose statx `info` tells its length and direct-I/O alignment.
    void Prepare(int fd, const struct statx& info, AsyncContexts& contexts) { out_.Prepare(fd, info, contexts); }
    // `size` bytes at `offset`, kept or written at once; a failure may be that of writes kept before.
    Result<> Write(int fd, std::int64_t offset, const char* data, std::size_t size);
    // `size` bytes at `offset`, written at once, for files whose writes are not gathered; as WriteFully,
    // `offset` ends after the last byte written.
    Result<> WriteThrough(int fd, std::int64_t& offset, const char* data, std::size_t size);
    // Writes out what is kept and waits for every write under way; afterwards nothing is either.
    Result<> Drain(int fd);

private:
    Result<> WriteOut(int fd);  // hands what is kept on; afterwards nothing is
    // Every write that reaches the file goes through here.
    Result<> Out(int fd, std::int64_t& offset, const char* data, std::size_t size);
    // A long run of writes is handed to the disk as it goes, and each write waits until the data a few MiB
    // behind it is there: the flush at the run's end, which nothing can interrupt, then waits for a few MiB
    // and not for gigabytes. The bytes and the writes stay the same; the data only reaches the disk sooner.
    void SendBehind(int fd, std::int64_t offset, std::int64_t end);

    std::int64_t start_ = 0;
    std::vector<char> bytes_;
    std::int64_t unsent_ = 0;    // the run's data from here on is not yet handed to the disk
    std::int64_t unwaited_ = 0;  // from here on it may still be on its way
    DirectWrites out_;
};

// Every byte written from `offset`, a short write continued; a write that makes no progress is a full
// disk. `offset` ends after the last byte written, also when a failure stopped the write.
Result<> WriteFully(int fd, std::int64_t& offset, const char* data, std::size_t size);

}  // namespace scorvane
