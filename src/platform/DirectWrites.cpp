#include "platform/DirectWrites.h"

#include <fcntl.h>
#include <linux/aio_abi.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <span>

#include "platform/Failure.h"
#include "platform/WriteGatherer.h"

namespace scorvane {

namespace {

// The aligned part of a write goes out in pieces of this size, each copied into a free slot; while the
// disk writes one, the next is prepared.
constexpr std::size_t kSlotBytes = 2 * 1024 * 1024;
constexpr std::size_t kSlots = 3;

// The kernel's asynchronous I/O calls, which the C library does not wrap.
long AioSetup(unsigned events, aio_context_t* context) { return ::syscall(SYS_io_setup, events, context); }
void AioDestroy(aio_context_t context) { (void)::syscall(SYS_io_destroy, context); }
long AioSubmit(aio_context_t context, iocb* request) {
    std::array<iocb*, 1> list{request};
    return ::syscall(SYS_io_submit, context, 1, list.data());
}
long AioGetEvents(aio_context_t context, long least, std::span<io_event> events) {
    return ::syscall(SYS_io_getevents, context, least, static_cast<long>(events.size()), events.data(), nullptr);
}

// Whether the file's first `length` bytes are in the page cache, judged by pages spread evenly over them:
// looking at every page of a large file costs milliseconds.
bool WhollyCached(int fd, std::uint64_t length) {
    constexpr std::uint64_t kSamples = 64;
    void* map = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) return false;
    const std::uint64_t pages = (length + kPageBytes - 1) / kPageBytes;
    const std::uint64_t step = std::max<std::uint64_t>(1, pages / kSamples);
    const auto resident = [&](std::uint64_t page) {
        unsigned char state = 0;
        return ::mincore(static_cast<char*>(map) + page * kPageBytes, kPageBytes, &state) == 0 && (state & 1) != 0;
    };
    bool all = resident(pages - 1);
    for (std::uint64_t page = 0; all && page < pages; page += step) all = resident(page);
    ::munmap(map, length);
    return all;
}

}  // namespace

AsyncContexts::~AsyncContexts() {
    for (const unsigned long context : idle_) AioDestroy(context);
}

unsigned long AsyncContexts::Take(unsigned writes) {
    if (!idle_.empty()) {
        const unsigned long context = idle_.back();
        idle_.pop_back();
        return context;
    }
    aio_context_t context = 0;
    return AioSetup(writes, &context) == 0 ? context : 0;
}

void AsyncContexts::Give(unsigned long context) { idle_.push_back(context); }

DirectWrites::~DirectWrites() {
    WaitAll();
    if (context_ != 0) contexts_->Give(context_);
}

void DirectWrites::Prepare(int fd, const struct statx& info, AsyncContexts& contexts) {
    fd_ = fd;
    contexts_ = &contexts;
    if (!(info.stx_mask & STATX_SIZE) || info.stx_size < static_cast<std::uint64_t>(kDirectFileLength)) return;
    // Whole pages at least: a page is then never written both past the cache and through it at once.
    std::size_t align = kPageBytes;
    if (info.stx_mask & STATX_DIOALIGN) {
        // 0: no direct I/O for this file (its data journalled, encrypted, held in the inode, ...).
        if (info.stx_dio_offset_align == 0) return;
        align = std::max<std::size_t>(info.stx_dio_offset_align, kPageBytes);
        memoryAlign_ = std::max<std::size_t>(info.stx_dio_mem_align, kPageBytes);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0) return;
    statusFlags_ = flags & ~O_DIRECT;
    direct_ = (flags & O_DIRECT) != 0;
    align_ = align;
    kept_ = AlignedBuffer(align_, memoryAlign_);
    cachedFirst_ = WhollyCached(fd, info.stx_size);
}

Result<> DirectWrites::Write(int fd, std::int64_t& offset, const char* data, std::size_t size) {
    fd_ = fd;
    if (align_ == 0 || cachedFirst_) {
        wroteCached_ = true;
        if (auto kept = WriteKept(); !kept) return kept;
        return Cached(offset, data, size);
    }
    const auto keptEnd = keptStart_ + static_cast<std::int64_t>(keptSize_);
    if (keptSize_ > 0 && offset >= keptStart_ && offset <= keptEnd) {
        // This write continues the kept bytes or overlaps their end: together they may fill their block.
        const auto at = static_cast<std::size_t>(offset - keptStart_);
        const std::size_t part = std::min(size, align_ - at);
        std::memcpy(kept_.data() + at, data, part);
        keptSize_ = std::max(keptSize_, at + part);
        offset += static_cast<std::int64_t>(part);
        data += part;
        size -= part;
        if (keptSize_ < align_) return {};
        keptSize_ = 0;
        std::int64_t from = keptStart_;
        if (auto written = Direct(from, reinterpret_cast<const char*>(kept_.data()), align_); !written) return written;
    } else if (auto kept = WriteKept(); !kept) {
        return kept;
    }
    // A head inside a block holds bytes this write does not cover: the cache completes its page.
    const auto into = static_cast<std::size_t>(offset) % align_;
    const std::size_t head = std::min(size, into == 0 ? 0 : align_ - into);
    if (auto written = Cached(offset, data, head); !written) return written;
    const std::size_t middle = (size - head) / align_ * align_;
    if (auto written = Direct(offset, data + head, middle); !written) return written;
    // The tail is kept: the next write usually completes its block.
    keptStart_ = offset;
    keptSize_ = size - head - middle;
    if (keptSize_ > 0) std::memcpy(kept_.data(), data + head + middle, keptSize_);
    offset += static_cast<std::int64_t>(keptSize_);
    return {};
}

// The kept bytes go out through the cache.
Result<> DirectWrites::WriteKept() {
    if (keptSize_ == 0) return {};
    std::int64_t from = keptStart_;
    const std::size_t size = keptSize_;
    keptSize_ = 0;
    return Cached(from, reinterpret_cast<const char*>(kept_.data()), size);
}

void DirectWrites::WaitAll() {
    while (std::any_of(slots_.begin(), slots_.end(), [](const Slot& slot) { return slot.busy; })) Reap(true);
}

Result<> DirectWrites::Finish() {
    if (wroteCached_) cachedFirst_ = false;
    if (auto kept = WriteKept(); !kept && !failure_) failure_ = kept.failure();
    WaitAll();
    if (!failure_) return {};
    Failure failure = std::move(*failure_);
    failure_.reset();
    return failure;
}

Result<> DirectWrites::Cached(std::int64_t& offset, const char* data, std::size_t size) {
    if (size == 0) return {};
    // The file is never written both ways at once: the cache may hold one page in a block of many.
    WaitAll();
    if (failure_) return Finish();
    if (!Switch(false)) return FailureFromErrno(errno);
    return WriteFully(fd_, offset, data, size);
}

void DirectWrites::WaitFor(std::int64_t from, std::int64_t to) {
    const auto overlaps = [&](const Slot& slot) {
        return slot.busy && slot.offset < to && from < slot.offset + static_cast<std::int64_t>(slot.size);
    };
    while (std::any_of(slots_.begin(), slots_.end(), overlaps)) Reap(true);
}

Result<> DirectWrites::Direct(std::int64_t& offset, const char* data, std::size_t size) {
    if (size == 0) return {};
    if (slots_.empty()) {
        slots_.resize(kSlots);
        for (Slot& slot : slots_) slot.bytes = AlignedBuffer(std::max(kSlotBytes, align_), memoryAlign_);
        context_ = contexts_->Take(kSlots);
    }
    while (size > 0) {
        if (align_ == 0) return Cached(offset, data, size);
        const std::size_t length = std::min(size, slots_.front().bytes.size());
        // A write never overtakes one under way over the same bytes.
        WaitFor(offset, offset + static_cast<std::int64_t>(length));
        const auto free = std::find_if(slots_.begin(), slots_.end(), [](const Slot& slot) { return !slot.busy; });
        if (free == slots_.end()) {
            Reap(true);
            continue;
        }
        std::memcpy(free->bytes.data(), data, length);
        free->offset = offset;
        free->size = length;
        Submit(*free);
        if (failure_) return Finish();
        data += length;
        size -= length;
        offset += static_cast<std::int64_t>(length);
    }
    return {};
}

// Hands the slot's bytes to the disk: under way when the kernel takes them asynchronously, else written
// now; a failure is kept for the caller.
void DirectWrites::Submit(Slot& slot) {
    if (!Switch(true)) {
        if (!Ended(slot, -EINVAL)) Complete(slot);  // the file system refuses direct I/O
        return;
    }
    if (context_ != 0) {
        iocb request{};
        request.aio_data = static_cast<std::uint64_t>(&slot - slots_.data());
        request.aio_lio_opcode = IOCB_CMD_PWRITE;
        request.aio_fildes = static_cast<std::uint32_t>(fd_);
        request.aio_buf = reinterpret_cast<std::uintptr_t>(slot.bytes.data());
        request.aio_nbytes = slot.size;
        request.aio_offset = slot.offset;
        long submitted;
        do {
            submitted = AioSubmit(context_, &request);
        } while (submitted < 0 && errno == EINTR);
        if (submitted == 1) {
            slot.busy = true;
            return;
        }
        // No asynchronous writes here: from now on each write waits for the disk.
        WaitAll();
        AioDestroy(context_);
        context_ = 0;
    }
    ssize_t written;
    do {
        written = ::pwrite(fd_, slot.bytes.data(), slot.size, slot.offset);
    } while (written < 0 && errno == EINTR);
    if (!Ended(slot, written < 0 ? -errno : written)) Complete(slot);
}

void DirectWrites::Reap(bool wait) {
    std::array<io_event, kSlots> events{};
    long got;
    do {
        got = AioGetEvents(context_, wait ? 1 : 0, events);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        // How the writes under way end cannot be learnt: the context goes, waiting for them, and none counts.
        if (!failure_) failure_ = FailureFromErrno(errno);
        AioDestroy(context_);
        context_ = 0;
        for (Slot& slot : slots_) slot.busy = false;
        return;
    }
    std::array<Slot*, kSlots> unfinished{};
    std::size_t count = 0;
    for (long k = 0; k < got; ++k) {
        Slot& slot = slots_.at(events[static_cast<std::size_t>(k)].data);
        if (!Ended(slot, events[static_cast<std::size_t>(k)].res)) unfinished[count++] = &slot;
    }
    if (count == 0) return;
    WaitAll();  // the rest goes through the cache, never beside a direct write
    for (std::size_t k = 0; k < count; ++k) Complete(*unfinished[k]);
}

// A write that ended: false when it was cut short or refused as invalid, and its rest (from slot.size, now
// what was written) is to go through the cache; a failure is kept for the caller.
bool DirectWrites::Ended(Slot& slot, long long result) {
    slot.busy = false;
    if (result == static_cast<long long>(slot.size)) return true;
    if (result < 0 && result != -EINVAL) {
        if (!failure_) failure_ = FailureFromErrno(static_cast<int>(-result));
        return true;
    }
    if (result < 0) align_ = 0;  // refused after all: the cache takes this write and every later one
    slot.written = static_cast<std::size_t>(std::max<long long>(result, 0));
    return false;
}

// The rest of a write that ended unfinished, through the cache.
void DirectWrites::Complete(Slot& slot) {
    std::int64_t offset = slot.offset + static_cast<std::int64_t>(slot.written);
    if (!Switch(false)) {
        if (!failure_) failure_ = FailureFromErrno(errno);
        return;
    }
    const auto* rest = reinterpret_cast<const char*>(slot.bytes.data()) + slot.written;
    if (auto written = WriteFully(fd_, offset, rest, slot.size - slot.written); !written && !failure_) {
        failure_ = written.failure();
    }
}

bool DirectWrites::Switch(bool direct) {
    if (direct_ == direct) return true;
    if (::fcntl(fd_, F_SETFL, direct ? statusFlags_ | O_DIRECT : statusFlags_) != 0) return false;
    direct_ = direct;
    return true;
}

}  // namespace scorvane
