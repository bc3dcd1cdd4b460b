#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/AlignedBuffer.h"
#include "platform/Result.h"

namespace scorvane {

// Files from this length on are overwritten past the page cache (measured: below it, passes gain nothing).
inline constexpr std::int64_t kDirectFileLength = 4 * 1024 * 1024;

// Kernel contexts for asynchronous writes, kept for the next file: one is set up quickly, but giving one
// back to the kernel waits for tens of milliseconds.
class AsyncContexts {
public:
    AsyncContexts() = default;
    ~AsyncContexts();
    AsyncContexts(const AsyncContexts&) = delete;
    AsyncContexts& operator=(const AsyncContexts&) = delete;

    // A context with room for `writes` writes under way; 0 when the kernel gives none.
    unsigned long Take(unsigned writes);
    // A context taken before, with no write under way any more.
    void Give(unsigned long context);

private:
    std::vector<unsigned long> idle_;
};

// How the writes to one file reach the disk. For a large file on a file system that takes direct I/O,
// the page-aligned part of each write is copied into aligned slots and goes straight to the disk
// (O_DIRECT, switched on and off on the file's own descriptor), while the next part is being prepared;
// the unaligned tail is kept until the next write completes its block, and what is left unaligned goes
// through the page cache once the direct writes before it have ended.
// A file system that refuses direct I/O gets every byte through the cache. The bytes on disk are those
// plain writes in the same order would leave; a flush is still needed to make them stable.
class DirectWrites {
public:
    DirectWrites() = default;
    ~DirectWrites();  // waits for the writes still under way
    DirectWrites(const DirectWrites&) = delete;
    DirectWrites& operator=(const DirectWrites&) = delete;

    // Direct writes for the open file `fd`, when `info` (its statx with STATX_SIZE and STATX_DIOALIGN
    // asked for) shows a file of at least kDirectFileLength; otherwise every write goes through the cache.
    // Asynchronous writes take a context from `contexts`, which outlives this object.
    void Prepare(int fd, const struct statx& info, AsyncContexts& contexts);
    // Every byte from `offset` on, written or under way; `offset` ends after the last byte. A failure may
    // be that of a write handed to the disk before.
    Result<> Write(int fd, std::int64_t& offset, const char* data, std::size_t size);
    // Waits until every write under way has ended; the first failure among them.
    Result<> Finish();

private:
    struct Slot {
        AlignedBuffer bytes;
        std::int64_t offset = 0;
        std::size_t size = 0;
        std::size_t written = 0;  // of a write that ended unfinished
        bool busy = false;
    };
    Result<> Cached(std::int64_t& offset, const char* data, std::size_t size);
    Result<> WriteKept();
    Result<> Direct(std::int64_t& offset, const char* data, std::size_t size);
    void Submit(Slot& slot);
    void WaitAll();
    void WaitFor(std::int64_t from, std::int64_t to);  // until no write under way touches these bytes
    void Reap(bool wait);
    bool Ended(Slot& slot, long long result);
    void Complete(Slot& slot);
    bool Switch(bool direct);

    int fd_ = -1;
    std::size_t align_ = 0;  // of offsets and lengths; 0: every write goes through the cache
    std::size_t memoryAlign_ = kPageBytes;
    int statusFlags_ = 0;       // the descriptor's flags without O_DIRECT
    bool direct_ = false;       // O_DIRECT is set on the descriptor now
    bool cachedFirst_ = false;  // the file's first writes go through the cache, until they are finished
    bool wroteCached_ = false;
    AsyncContexts* contexts_ = nullptr;
    unsigned long context_ = 0;  // the kernel's asynchronous I/O context; 0: each write waits for the disk
    std::vector<Slot> slots_;
    AlignedBuffer kept_;  // the start of a block, written when the block is complete or before anything else
    std::int64_t keptStart_ = 0;
    std::size_t keptSize_ = 0;
    std::optional<Failure> failure_;  // of a write that ended after its call returned
};

}  // namespace scorvane
