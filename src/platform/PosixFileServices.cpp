#include "platform/PosixFileServices.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/AnchoredTree.h"
#include "platform/PosixSupport.h"

namespace scorvane {

using namespace posix;

namespace {

constexpr std::size_t kReadBlock = 64 * 1024;
constexpr std::size_t kFillBlock = 1024 * 1024;
// The longest line kept: a file of one huge line costs no more memory than this.
constexpr std::size_t kLineLimit = 4096;

std::array<std::uint8_t, 4> TaggedHeader(std::int64_t length) {
    const auto field = static_cast<std::uint16_t>(std::min<std::int64_t>(length, 0xFFFF));
    return {0x08, 0x00, static_cast<std::uint8_t>(field & 0xFF), static_cast<std::uint8_t>(field >> 8)};
}

}  // namespace

Result<PosixFileServices::OpenFile*> PosixFileServices::Find(FileHandle file) {
    auto it = files_.find(file);
    if (it == files_.end()) return MakeFailure(FailureNumber::BadFileName);
    return it->second.get();
}

Result<FileHandle> PosixFileServices::Open(const std::string& path, OpenMode mode) {
    const bool makes = mode == OpenMode::CreateNew || mode == OpenMode::TextOutput;
    const auto where = Locate(path, makes ? Use::NewName : Use::Existing);
    if (!where) return where.failure();
    int flags = O_CLOEXEC | O_NOFOLLOW;
    switch (mode) {
        case OpenMode::ByteAccess:
            flags |= O_RDWR | O_NONBLOCK;
            break;
        case OpenMode::TextOutput:
            flags |= O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK;
            break;
        case OpenMode::TextInput:
            flags |= O_RDONLY | O_NONBLOCK;
            break;
        case OpenMode::CreateNew:
            flags |= O_WRONLY | O_CREAT | O_EXCL;
            break;
    }
    int fd;
    do {
        fd = ::openat(where.value().folder, where.value().name.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == EISDIR) return MakeFailure(FailureNumber::PermissionDenied);
        if (errno == ELOOP)
            return MakeFailure(mode == OpenMode::TextInput ? FailureNumber::FileNotFound
                                                           : FailureNumber::PermissionDenied);
        return LastFailure();
    }
    struct statx info {};
    const bool looked =
        ::statx(fd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_INO | STATX_MNT_ID | STATX_SIZE | STATX_DIOALIGN, &info) == 0;
    if (!looked || !S_ISREG(info.stx_mode)) {
        const bool isFolder = S_ISDIR(info.stx_mode);
        ::close(fd);
        if (mode == OpenMode::TextInput && !isFolder) return MakeFailure(FailureNumber::FileNotFound);
        return MakeFailure(FailureNumber::PermissionDenied);
    }
    // A chosen file is only ever the one that was chosen, also when another took its name since the look.
    const auto& chosen = where.value().chosen;
    if (chosen &&
        (makedev(info.stx_dev_major, info.stx_dev_minor) != chosen->device || info.stx_ino != chosen->inode)) {
        ::close(fd);
        return MakeFailure(FailureNumber::ChangedSinceChosen);
    }
    // A file mounted over a name of the tree is another file system's: never written through it.
    const std::uint64_t folderMount = where.value().mount;
    if (folderMount != 0 && (info.stx_mask & STATX_MNT_ID) && info.stx_mnt_id != folderMount) {
        ::close(fd);
        return MakeFailure(FailureNumber::PermissionDenied);
    }
    // Opened without blocking (a FIFO put in the file's place must not hang the open), then made blocking.
    if ((flags & O_NONBLOCK) && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const Failure failure = LastFailure();
        ::close(fd);
        return failure;
    }
    auto open = std::make_unique<OpenFile>();
    open->fd = fd;
    open->mode = mode;
    if (mode == OpenMode::ByteAccess) open->gathered.Prepare(fd, info, asyncContexts_);
    const FileHandle handle = nextHandle_++;
    files_.emplace(handle, std::move(open));
    return handle;
}

Result<> PosixFileServices::Seek(FileHandle file, std::int64_t position) {
    auto open = Find(file);
    if (!open) return open.failure();
    if (position < 1) return MakeFailure(FailureNumber::BadRecordNumber);
    open.value()->position = position - 1;
    return {};
}

Result<> PosixFileServices::WriteAll(OpenFile& file, const void* data, std::size_t size) {
    if (file.mode == OpenMode::TextInput) return MakeFailure(FailureNumber::BadFileName);
    // The passes over a file (byte access) are gathered; every other file is written as it goes, and its
    // next write follows what was written, also after a failure.
    const auto* bytes = static_cast<const char*>(data);
    if (file.mode != OpenMode::ByteAccess) {
        const auto written = file.gathered.WriteThrough(file.fd, file.position, bytes, size);
        file.writtenEnd = std::max(file.writtenEnd, file.position);
        return written;
    }
    if (auto gathered = file.gathered.Write(file.fd, file.position, bytes, size); !gathered) return gathered;
    file.position += static_cast<std::int64_t>(size);
    file.writtenEnd = std::max(file.writtenEnd, file.position);
    return {};
}

Result<> PosixFileServices::WriteTaggedFill(FileHandle file, char fill, std::int64_t count) {
    auto open = Find(file);
    if (!open) return open.failure();
    OpenFile& target = *open.value();
    if (count < 0) return MakeFailure(FailureNumber::InvalidCall);
    const auto header = TaggedHeader(count);
    if (auto done = WriteAll(target, header.data(), header.size()); !done) return done;
    const auto block = static_cast<std::size_t>(std::min<std::int64_t>(count, kFillBlock));
    if (target.fill.size() < block || (!target.fill.empty() && target.fill.front() != fill)) {
        target.fill.assign(std::max(block, target.fill.size()), fill);
    }
    while (count > 0) {
        const auto part = static_cast<std::size_t>(std::min<std::int64_t>(count, static_cast<std::int64_t>(block)));
        if (auto done = WriteAll(target, target.fill.data(), part); !done) return done;
        count -= static_cast<std::int64_t>(part);
    }
    return {};
}

Result<> PosixFileServices::WriteRaw(FileHandle file, std::span<const std::uint8_t> bytes) {
    auto open = Find(file);
    if (!open) return open.failure();
    return WriteAll(*open.value(), bytes.data(), bytes.size());
}

Result<> PosixFileServices::PrintLine(FileHandle file, std::string_view text) {
    auto open = Find(file);
    if (!open) return open.failure();
    std::string line(text);
    line += "\r\n";
    return WriteAll(*open.value(), line.data(), line.size());
}

int PosixFileServices::PeekByte(OpenFile& file) {
    if (file.readPos >= file.readBuffer.size()) {
        if (file.readEnded || file.mode != OpenMode::TextInput) return -1;
        file.readBuffer.resize(kReadBlock);
        ssize_t got;
        do {
            got = ::read(file.fd, file.readBuffer.data(), kReadBlock);
        } while (got < 0 && errno == EINTR);
        file.readBuffer.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        file.readPos = 0;
        if (got <= 0) {
            file.readEnded = true;
            return -1;
        }
    }
    return static_cast<unsigned char>(file.readBuffer[file.readPos]);
}

int PosixFileServices::ReadByte(OpenFile& file) {
    const int byte = PeekByte(file);
    if (byte >= 0) ++file.readPos;
    return byte;
}

Result<std::string> PosixFileServices::ReadLine(FileHandle file) {
    auto open = Find(file);
    if (!open) return open.failure();
    OpenFile& source = *open.value();
    if (source.mode != OpenMode::TextInput) return MakeFailure(FailureNumber::BadFileName);
    if (PeekByte(source) < 0) return MakeFailure(FailureNumber::InputPastEnd);
    std::string line;
    int byte = ReadByte(source);
    for (; byte >= 0 && byte != '\n' && byte != '\r'; byte = ReadByte(source)) {
        if (line.size() < kLineLimit) line.push_back(static_cast<char>(byte));
    }
    if (byte == '\r' && PeekByte(source) == '\n') ReadByte(source);
    return line;
}

Result<std::string> PosixFileServices::ReadField(FileHandle file) {
    auto open = Find(file);
    if (!open) return open.failure();
    OpenFile& source = *open.value();
    if (source.mode != OpenMode::TextInput) return MakeFailure(FailureNumber::BadFileName);
    while (PeekByte(source) == ' ') ReadByte(source);
    if (PeekByte(source) < 0) return MakeFailure(FailureNumber::InputPastEnd);

    std::string field;
    auto endOfField = [](int byte) { return byte < 0 || byte == ',' || byte == '\n'; };
    if (PeekByte(source) == '"') {
        ReadByte(source);
        for (int byte = PeekByte(source); byte >= 0 && byte != '"' && byte != '\n'; byte = PeekByte(source)) {
            field.push_back(static_cast<char>(ReadByte(source)));
        }
        if (!field.empty() && field.back() == '\r' && PeekByte(source) == '\n') field.pop_back();
        if (PeekByte(source) == '"') ReadByte(source);
        while (!endOfField(PeekByte(source))) ReadByte(source);  // what follows the closing quote is dropped
    } else {
        while (!endOfField(PeekByte(source))) field.push_back(static_cast<char>(ReadByte(source)));
        if (!field.empty() && field.back() == '\r') field.pop_back();
        while (!field.empty() && field.back() == ' ') field.pop_back();
    }
    ReadByte(source);  // the comma or the line feed
    return field;
}

bool PosixFileServices::AtEnd(FileHandle file) {
    auto open = Find(file);
    if (!open) return true;
    if (open.value()->mode != OpenMode::TextInput) {
        if (!open.value()->gathered.Drain(open.value()->fd)) return true;
        struct stat info {};
        return ::fstat(open.value()->fd, &info) != 0 || open.value()->position >= info.st_size;
    }
    return PeekByte(*open.value()) < 0;
}

Result<std::int64_t> PosixFileServices::Length(FileHandle file) {
    auto open = Find(file);
    if (!open) return open.failure();
    if (auto drained = open.value()->gathered.Drain(open.value()->fd); !drained) return drained.failure();
    struct stat info {};
    if (::fstat(open.value()->fd, &info) != 0) return LastFailure();
    return static_cast<std::int64_t>(info.st_size);
}

Result<FileIdentity> PosixFileServices::Identify(FileHandle file) {
    auto open = Find(file);
    if (!open) return open.failure();
    if (auto drained = open.value()->gathered.Drain(open.value()->fd); !drained) return drained.failure();
    struct stat info {};
    if (::fstat(open.value()->fd, &info) != 0) return LastFailure();
    FileIdentity identity = IdentityOf(info);
    identity.writtenEnd = open.value()->writtenEnd;
    return identity;
}

Result<> PosixFileServices::Truncate(FileHandle file, std::int64_t length) {
    auto open = Find(file);
    if (!open) return open.failure();
    if (open.value()->mode == OpenMode::TextInput) return MakeFailure(FailureNumber::BadFileName);
    if (auto drained = open.value()->gathered.Drain(open.value()->fd); !drained) return drained;
    int done;
    do {
        done = ::ftruncate(open.value()->fd, length);
    } while (done != 0 && errno == EINTR);
    if (done != 0) return LastFailure();
    return {};
}

Result<> PosixFileServices::Flush(FileHandle file) {
    auto open = Find(file);
    if (!open) return open.failure();
    if (auto drained = open.value()->gathered.Drain(open.value()->fd); !drained) return drained;
    if (::fdatasync(open.value()->fd) == 0) return {};
    // A file system without fdatasync may have fsync; one with neither cannot say the pass is on the disk.
    if (errno == EINVAL && ::fsync(open.value()->fd) == 0) return {};
    return LastFailure();
}

Result<> PosixFileServices::Close(FileHandle file) {
    auto it = files_.find(file);
    if (it == files_.end()) return MakeFailure(FailureNumber::BadFileName);
    const int fd = it->second->fd;
    const Result<> drained = it->second->gathered.Drain(fd);
    files_.erase(it);
    if (::close(fd) != 0 && errno != EINTR) return LastFailure();
    return drained;
}

void PosixFileServices::CloseAll() {
    for (auto& [handle, open] : files_) {
        (void)open->gathered.Drain(open->fd);
        ::close(open->fd);
    }
    files_.clear();
}

}  // namespace scorvane
