#pragma once

#include <cstdint>
#include <vector>

#include "platform/Result.h"

namespace scorvane {

// Writes to one file, gathered in memory while each one continues or overlaps those before it, and
// written out in one call: the many small writes of a pass over a small file cost one system call, and
// the bytes on disk are those the writes one by one would have left. Memory stays bounded: a run of
// writes longer than the limit goes out as it grows, and a large write is never copied.
class WriteGatherer {
public:
    // `size` bytes at `offset`, kept or written at once; a failure may be that of writes kept before.
    Result<> Write(int fd, std::int64_t offset, const char* data, std::size_t size);
    // Writes out what is kept; afterwards nothing is.
    Result<> Drain(int fd);

private:
    std::int64_t start_ = 0;
    std::vector<char> bytes_;
};

// Every byte written from `offset`, a short write continued; a write that makes no progress is a full
// disk. `offset` ends after the last byte written, also when a failure stopped the write.
Result<> WriteFully(int fd, std::int64_t& offset, const char* data, std::size_t size);

}  // namespace scorvane
