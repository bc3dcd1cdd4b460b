#pragma once

#include <memory>

#include "platform/FileServices.h"

namespace scorvane::testing {

// File services that hand every call on to other ones, so that a test's stand-in overrides only the
// operations it changes. Made without a target, it forwards to real file services of its own.
class ForwardingFileServices : public FileServices {
public:
    ForwardingFileServices();
    explicit ForwardingFileServices(FileServices& target) : target_(target) {}
    ~ForwardingFileServices() override;
    ForwardingFileServices(const ForwardingFileServices&) = delete;
    ForwardingFileServices& operator=(const ForwardingFileServices&) = delete;

    Result<FileHandle> Open(const std::string& path, OpenMode mode) override { return target_.Open(path, mode); }
    Result<> Seek(FileHandle file, std::int64_t position) override { return target_.Seek(file, position); }
    Result<> WriteTaggedFill(FileHandle file, char fill, std::int64_t count) override {
        return target_.WriteTaggedFill(file, fill, count);
    }
    Result<> WriteRaw(FileHandle file, std::span<const std::uint8_t> bytes) override {
        return target_.WriteRaw(file, bytes);
    }
    Result<> PrintLine(FileHandle file, std::string_view text) override { return target_.PrintLine(file, text); }
    Result<std::string> ReadField(FileHandle file) override { return target_.ReadField(file); }
    Result<std::string> ReadLine(FileHandle file) override { return target_.ReadLine(file); }
    bool AtEnd(FileHandle file) override { return target_.AtEnd(file); }
    Result<std::int64_t> Length(FileHandle file) override { return target_.Length(file); }
    Result<FileIdentity> Identify(FileHandle file) override { return target_.Identify(file); }
    Result<> Truncate(FileHandle file, std::int64_t length) override { return target_.Truncate(file, length); }
    Result<> Flush(FileHandle file) override { return target_.Flush(file); }
    Result<> Close(FileHandle file) override { return target_.Close(file); }
    void CloseAll() override { target_.CloseAll(); }
    std::string Exists(const std::string& path) override { return target_.Exists(path); }
    EntryKind KindOf(const std::string& path) override { return target_.KindOf(path); }
    bool IsSystemRoot(const std::string& path) override { return target_.IsSystemRoot(path); }
    Result<FileIdentity> IdentifyName(const std::string& path) override { return target_.IdentifyName(path); }
    Result<> Delete(const std::string& path) override { return target_.Delete(path); }
    Result<> DeleteIfSame(const std::string& path, const FileIdentity& identity) override {
        return target_.DeleteIfSame(path, identity);
    }
    Result<> Rename(const std::string& from, const std::string& to) override { return target_.Rename(from, to); }
    Result<> MakeFolder(const std::string& path) override { return target_.MakeFolder(path); }
    Result<> RemoveFolder(const std::string& path) override { return target_.RemoveFolder(path); }
    Result<std::uint32_t> GetAttributes(const std::string& path) override { return target_.GetAttributes(path); }
    Result<> SetAttributes(const std::string& path, std::uint32_t attributes) override {
        return target_.SetAttributes(path, attributes);
    }
    Result<FolderListing> ListFolder(const std::string& path) override { return target_.ListFolder(path); }
    Result<FolderListing> ListFolderPaced(const std::string& path, const std::function<bool()>& goOn) override {
        return target_.ListFolderPaced(path, goOn);
    }
    Result<FreeSpace> QueryFreeSpace(const std::string& mountPoint) override {
        return target_.QueryFreeSpace(mountPoint);
    }
    Result<> Anchor(const std::string& chosen) override { return target_.Anchor(chosen); }
    void Unanchor() override { target_.Unanchor(); }
    void RecordChosen(const std::vector<std::string>& paths) override { target_.RecordChosen(paths); }
    void ForgetChosen() override { target_.ForgetChosen(); }
    Result<FolderPlace> PlaceOfFolder(const std::string& path) override { return target_.PlaceOfFolder(path); }
    std::string KernelFileSystem(const std::string& path) override { return target_.KernelFileSystem(path); }

private:
    std::unique_ptr<FileServices> own_;  // the real file services, when no target was given
    FileServices& target_;
};

}  // namespace scorvane::testing
