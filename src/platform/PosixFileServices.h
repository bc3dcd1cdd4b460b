#pragma once

#include <sys/stat.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/AnchoredTree.h"
#include "platform/DirectWrites.h"
#include "platform/FileServices.h"

namespace scorvane {

// The file services over POSIX calls.
class PosixFileServices final : public FileServices {
public:
    PosixFileServices();
    ~PosixFileServices() override;
    PosixFileServices(const PosixFileServices&) = delete;
    PosixFileServices& operator=(const PosixFileServices&) = delete;

    Result<FileHandle> Open(const std::string& path, OpenMode mode) override;
    Result<> Seek(FileHandle file, std::int64_t position) override;
    Result<> WriteTaggedFill(FileHandle file, char fill, std::int64_t count) override;
    Result<> WriteRaw(FileHandle file, std::span<const std::uint8_t> bytes) override;
    Result<> PrintLine(FileHandle file, std::string_view text) override;
    Result<std::string> ReadField(FileHandle file) override;
    Result<std::string> ReadLine(FileHandle file) override;
    bool AtEnd(FileHandle file) override;
    Result<std::int64_t> Length(FileHandle file) override;
    Result<FileIdentity> Identify(FileHandle file) override;
    Result<> Truncate(FileHandle file, std::int64_t length) override;
    Result<> Flush(FileHandle file) override;
    Result<> Close(FileHandle file) override;
    void CloseAll() override;

    std::string Exists(const std::string& path) override;
    EntryKind KindOf(const std::string& path) override;
    bool IsSystemRoot(const std::string& path) override;
    Result<FileIdentity> IdentifyName(const std::string& path) override;
    Result<> Delete(const std::string& path) override;
    Result<> DeleteIfSame(const std::string& path, const FileIdentity& identity) override;
    Result<> Rename(const std::string& from, const std::string& to) override;
    Result<> MakeFolder(const std::string& path) override;
    Result<> RemoveFolder(const std::string& path) override;
    Result<std::uint32_t> GetAttributes(const std::string& path) override;
    Result<> SetAttributes(const std::string& path, std::uint32_t attributes) override;
    Result<FolderListing> ListFolder(const std::string& path) override;
    Result<FolderListing> ListFolderPaced(const std::string& path, const std::function<bool()>& goOn) override;
    Result<FreeSpace> QueryFreeSpace(const std::string& mountPoint) override;
    Result<> Anchor(const std::string& chosen) override;
    void Unanchor() override;
    void RecordChosen(const std::vector<std::string>& paths) override;
    void ForgetChosen() override;
    Result<FolderPlace> PlaceOfFolder(const std::string& path) override;
    std::string KernelFileSystem(const std::string& path) override;

private:
    // The folder handle an operation on `path` acts through, and the name in it: through the anchor
    // that holds the path, or the path itself from the working folder.
    struct Where {
        int folder;
        std::string name;
        std::uint64_t mount = 0;  // the folder's mount, when an anchor reached it
        // The entry the name must still be: set when the path names an anchored chosen entry itself.
        std::optional<EntryPlace> chosen;
    };
    // For an operation on the entry the name holds now, a chosen entry's name must still hold the
    // chosen entry (ChangedSinceChosen otherwise); for one that makes a new name, it is not looked at.
    enum class Use { Existing, NewName };
    Result<Where> Locate(const std::string& path, Use use = Use::Existing);
    // A readable handle of the folder (the caller closes it); a link is never followed.
    Result<int> OpenFolder(const std::string& path);
    Result<struct stat> StatName(const std::string& path);

    struct OpenFile;
    Result<OpenFile*> Find(FileHandle file);
    Result<> WriteAll(OpenFile& file, const void* data, std::size_t size);
    int ReadByte(OpenFile& file);  // the next byte, or -1 at the end
    int PeekByte(OpenFile& file);

    // Folders (device, inode) from which a name was removed or renamed since this process last synced
    // their file system: their blocks in place on the disk may still hold the old name.
    // `name` as an operation reached it: in the open `folder`, or a whole path from the working folder.
    void NoteNameLeft(int folder, const std::string& name);
    // Syncs the file system of the open folder when a name left it since the last sync.
    void SyncIfNamesLeft(int folder);
    std::set<std::pair<dev_t, ino_t>> namesLeft_;

    AsyncContexts asyncContexts_;  // outlives the open files, which take from it
    std::map<FileHandle, std::unique_ptr<OpenFile>> files_;
    FileHandle nextHandle_ = 1;
    std::vector<std::unique_ptr<AnchoredTree>> anchors_;  // innermost last; empty entries hold nothing new
    std::map<std::string, ChosenPlace> chosen_;           // by the path's names, as RecordChosen saw them
};

}  // namespace scorvane
