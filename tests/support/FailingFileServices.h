#pragma once

#include <string>

#include "support/ForwardingFileServices.h"

namespace scorvane::testing {

// The real file services with one operation made to fail on cue: after `skip` good calls of the named
// operation ("Open", "WriteRaw", "Rename", ...), every further call fails with the errno given.
class FailingFileServices final : public ForwardingFileServices {
public:
    explicit FailingFileServices(FileServices& real) : ForwardingFileServices(real) {}

    void FailOperation(std::string operation, int error, int skip = 0, int times = 1 << 30) {
        operation_ = std::move(operation);
        error_ = error;
        skip_ = skip;
        times_ = times;
    }
    void Heal() { operation_.clear(); }
    int failures() const { return failures_; }

    Result<FileHandle> Open(const std::string& path, OpenMode mode) override;
    Result<> Seek(FileHandle file, std::int64_t position) override;
    Result<> WriteTaggedFill(FileHandle file, char fill, std::int64_t count) override;
    Result<> WriteRaw(FileHandle file, std::span<const std::uint8_t> bytes) override;
    Result<> PrintLine(FileHandle file, std::string_view text) override;
    Result<std::string> ReadField(FileHandle file) override;
    Result<std::string> ReadLine(FileHandle file) override;
    Result<std::int64_t> Length(FileHandle file) override;
    Result<> Flush(FileHandle file) override;
    Result<FileIdentity> Identify(FileHandle file) override;
    Result<> Truncate(FileHandle file, std::int64_t length) override;
    Result<> Delete(const std::string& path) override;
    // Fails as "Delete".
    Result<> DeleteIfSame(const std::string& path, const FileIdentity& identity) override;
    Result<> Rename(const std::string& from, const std::string& to) override;
    Result<> MakeFolder(const std::string& path) override;
    Result<> RemoveFolder(const std::string& path) override;
    Result<> SetAttributes(const std::string& path, std::uint32_t attributes) override;
    Result<FreeSpace> QueryFreeSpace(const std::string& mountPoint) override;

private:
    // True (and counts it) when this call of `operation` is to fail.
    bool Fails(const char* operation);
    Failure Injected() const;

    std::string operation_;
    int error_ = 0;
    int skip_ = 0;
    int times_ = 0;
    int failures_ = 0;
};

}  // namespace scorvane::testing
