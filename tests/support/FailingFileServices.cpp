#include "support/FailingFileServices.h"

#include "platform/Failure.h"

namespace scorvane::testing {

bool FailingFileServices::Fails(const char* operation) {
    if (operation_ != operation) return false;
    if (skip_ > 0) {
        --skip_;
        return false;
    }
    if (times_ <= 0) return false;
    --times_;
    ++failures_;
    return true;
}

Failure FailingFileServices::Injected() const { return FailureFromErrno(error_); }

#define SCORVANE_FORWARD(operation, call)    \
    if (Fails(operation)) return Injected(); \
    return ForwardingFileServices::call

Result<FileHandle> FailingFileServices::Open(const std::string& path, OpenMode mode) {
    SCORVANE_FORWARD("Open", Open(path, mode));
}
Result<> FailingFileServices::Seek(FileHandle file, std::int64_t position) {
    SCORVANE_FORWARD("Seek", Seek(file, position));
}
Result<> FailingFileServices::WriteTaggedFill(FileHandle file, char fill, std::int64_t count) {
    SCORVANE_FORWARD("WriteTaggedFill", WriteTaggedFill(file, fill, count));
}
Result<> FailingFileServices::WriteRaw(FileHandle file, std::span<const std::uint8_t> bytes) {
    SCORVANE_FORWARD("WriteRaw", WriteRaw(file, bytes));
}
Result<> FailingFileServices::PrintLine(FileHandle file, std::string_view text) {
    SCORVANE_FORWARD("PrintLine", PrintLine(file, text));
}
Result<std::string> FailingFileServices::ReadField(FileHandle file) { SCORVANE_FORWARD("ReadField", ReadField(file)); }
Result<std::string> FailingFileServices::ReadLine(FileHandle file) { SCORVANE_FORWARD("ReadLine", ReadLine(file)); }
Result<std::int64_t> FailingFileServices::Length(FileHandle file) { SCORVANE_FORWARD("Length", Length(file)); }
Result<> FailingFileServices::Flush(FileHandle file) { SCORVANE_FORWARD("Flush", Flush(file)); }
Result<> FailingFileServices::Delete(const std::string& path) { SCORVANE_FORWARD("Delete", Delete(path)); }
Result<> FailingFileServices::DeleteIfSame(const std::string& path, const FileIdentity& identity) {
    SCORVANE_FORWARD("Delete", DeleteIfSame(path, identity));
}
Result<FileIdentity> FailingFileServices::Identify(FileHandle file) { SCORVANE_FORWARD("Identify", Identify(file)); }
Result<> FailingFileServices::Truncate(FileHandle file, std::int64_t length) {
    SCORVANE_FORWARD("Truncate", Truncate(file, length));
}
Result<> FailingFileServices::Rename(const std::string& from, const std::string& to) {
    SCORVANE_FORWARD("Rename", Rename(from, to));
}
Result<> FailingFileServices::MakeFolder(const std::string& path) { SCORVANE_FORWARD("MakeFolder", MakeFolder(path)); }
Result<> FailingFileServices::RemoveFolder(const std::string& path) {
    SCORVANE_FORWARD("RemoveFolder", RemoveFolder(path));
}
Result<> FailingFileServices::SetAttributes(const std::string& path, std::uint32_t attributes) {
    SCORVANE_FORWARD("SetAttributes", SetAttributes(path, attributes));
}
Result<FreeSpace> FailingFileServices::QueryFreeSpace(const std::string& mountPoint) {
    SCORVANE_FORWARD("QueryFreeSpace", QueryFreeSpace(mountPoint));
}

#undef SCORVANE_FORWARD

}  // namespace scorvane::testing
