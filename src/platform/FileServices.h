#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace scorvane {

// A file number handed out by Open; numbers are never reused within one run, so a number that
// a close-all has released stays invalid (failure 52) instead of reaching another file.
using FileHandle = int;

enum class OpenMode {
    // Read and write at byte positions; an existing regular file only, never created, no link followed.
    // Writes may be gathered in memory until the next flush, cut, length query or close.
    ByteAccess,
    TextOutput,  // created, or cut to length 0
    TextInput,   // read from the start; a missing file is failure 53
    CreateNew,   // written from the start; made new, an existing name is failure 58 and stays untouched
};

namespace Attribute {
inline constexpr std::uint32_t ReadOnly = 0x1;
inline constexpr std::uint32_t Folder = 0x10;
inline constexpr std::uint32_t Archive = 0x20;
inline constexpr std::uint32_t Normal = 0x80;
}  // namespace Attribute

// What a name is, seen without following a link.
enum class EntryKind { Missing, RegularFile, Folder, Other };

struct FolderListing {
    std::vector<std::string> fileNames;    // regular files, names without the folder
    std::vector<std::string> subFolders;   // full paths, on the listed folder's own file system
    std::vector<std::string> mountPoints;  // full paths of sub-folders where another file system is mounted
    std::vector<std::string> others;       // links, FIFOs, sockets, devices: full paths
};

// What a file is, read from an open handle (or from a name, without following a link).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t names = 0;  // hard links
    std::int64_t length = 0;
    std::int64_t writtenEnd = 0;  // the end of the furthest byte written through this handle
    EntryKind kind = EntryKind::Missing;
    bool SameFile(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
};

// Where a folder lies, read from a handle of it.
struct FolderPlace {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t mount = 0;  // 0 where the system does not tell it
    bool mountRoot = false;   // a file system is mounted on exactly this folder
    bool SameFolder(const FolderPlace& other) const { return device == other.device && inode == other.inode; }
    // On the same file system and, where both mounts are known, through the same mount.
    bool SameMount(const FolderPlace& other) const {
        return device == other.device && (mount == 0 || other.mount == 0 || mount == other.mount);
    }
};

struct FreeSpace {
    std::uint64_t freeToCaller = 0;
    std::uint64_t total = 0;
    std::uint64_t totalFree = 0;
};

// The file operations the program relies on. Every failure carries the program's failure number.
class FileServices {
public:
    virtual ~FileServices() = default;

    // Never follows a link at the last name and never blocks on a FIFO: what is not a regular file is refused
    // (failure 70, or 53 when read as text), as is a file mounted over a name of an anchored tree.
    virtual Result<FileHandle> Open(const std::string& path, OpenMode mode) = 0;
    // The next read or write goes to this byte position, counted from 1.
    virtual Result<> Seek(FileHandle file, std::int64_t position) = 0;
    // A tagged text of `count` copies of `fill`: type tag 8 and the length as two little-endian 16-bit
    // numbers, then the characters. A count above 65,535 stores 65,535 in its length field.
    virtual Result<> WriteTaggedFill(FileHandle file, char fill, std::int64_t count) = 0;
    // The bytes and nothing else; a short write is continued until every byte is written.
    virtual Result<> WriteRaw(FileHandle file, std::span<const std::uint8_t> bytes) = 0;
    // The text followed by CR LF.
    virtual Result<> PrintLine(FileHandle file, std::string_view text) = 0;
    // The next comma-separated field of a line: leading blanks skipped, quotes of a quoted field removed.
    virtual Result<std::string> ReadField(FileHandle file) = 0;
    // The next line without its line end (CR LF, LF or CR); only its first 4 KiB are kept.
    virtual Result<std::string> ReadLine(FileHandle file) = 0;
    // True when nothing is left to read from the position; an unknown handle, or one whose gathered writes
    // fail, is at its end.
    virtual bool AtEnd(FileHandle file) = 0;
    // The open file's length, with every gathered write counted.
    virtual Result<std::int64_t> Length(FileHandle file) = 0;
    // The open file itself, read from its handle.
    virtual Result<FileIdentity> Identify(FileHandle file) = 0;
    // Cuts the open file to `length` bytes.
    virtual Result<> Truncate(FileHandle file, std::int64_t length) = 0;
    // Everything written so far reaches stable storage.
    virtual Result<> Flush(FileHandle file) = 0;
    // Writes what is gathered, then releases the handle, also when that write fails (the failure is returned).
    virtual Result<> Close(FileHandle file) = 0;
    // Closes every open file as Close does; never fails, and the failures of the last writes are dropped.
    virtual void CloseAll() = 0;

    // The name part of `path` when it names a regular file (no link followed); for a path that ends in
    // the separator, the name of a regular file in that folder; otherwise the empty text.
    virtual std::string Exists(const std::string& path) = 0;
    // What the name is, without following a link; Missing also when it cannot be looked at.
    virtual EntryKind KindOf(const std::string& path) = 0;
    // True when the path, links followed, is the folder "/" itself (however it is written).
    virtual bool IsSystemRoot(const std::string& path) = 0;
    // What the name is now, seen without following a link.
    virtual Result<FileIdentity> IdentifyName(const std::string& path) = 0;
    // Removes a name that is not a folder (a link is removed, never followed).
    virtual Result<> Delete(const std::string& path) = 0;
    // Removes the name only while it still names the file `identity` describes; another file put in its
    // place is failure 53 and stays.
    virtual Result<> DeleteIfSame(const std::string& path, const FileIdentity& identity) = 0;
    // Never replaces an existing name: an existing target is failure 58 ("File already exists").
    virtual Result<> Rename(const std::string& from, const std::string& to) = 0;
    // Makes one folder, never its parents; an existing name is failure 58 and stays untouched.
    virtual Result<> MakeFolder(const std::string& path) = 0;
    // Removes an empty folder; never removes what is in it, never follows a link. A folder this program
    // took names from has its blocks written in place first, so that they keep no removed name.
    virtual Result<> RemoveFolder(const std::string& path) = 0;
    // Attribute::Folder for a folder, Attribute::ReadOnly when the owner may not write, else Normal.
    virtual Result<std::uint32_t> GetAttributes(const std::string& path) = 0;
    // Normal or Archive give the owner read and write (and search on a folder); ReadOnly takes write away.
    // A link or a special file is left as it is, never followed.
    virtual Result<> SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // The folder's entries, sorted, each seen without following a link; the folder itself is never
    // reached through a link, and a listing that cannot be read to its end is a failure, never a shorter list.
    virtual Result<FolderListing> ListFolder(const std::string& path) = 0;
    // The same, calling `goOn` every few entries of a long listing so that the caller can keep its windows
    // answered; when it gives false the listing stops there and fails (failure 5): a stopped listing is
    // no listing. Services that cannot stop a listing list the whole folder.
    virtual Result<FolderListing> ListFolderPaced(const std::string& path, const std::function<bool()>& /*goOn*/) {
        return ListFolder(path);
    }
    // The space of the file system that holds `mountPoint`; reads nothing else and writes nothing.
    virtual Result<FreeSpace> QueryFreeSpace(const std::string& mountPoint) = 0;

    // Until the matching Unanchor, every operation on `chosen`, on a name beside it in its folder or on
    // a name below it acts through a handle of its folder opened now: folders below it are reached
    // without following a link and without leaving its file system, so no later change of the path
    // can redirect an operation outside. A path an outer anchor already holds keeps that anchor.
    // Fails (and holds nothing) when the folder cannot be opened; Unanchor is due either way.
    virtual Result<> Anchor(const std::string& chosen) = 0;
    // Releases the innermost anchor (or does nothing when none is held); never fails.
    virtual void Unanchor() = 0;
    // Records now what each chosen path is: the folder that holds it and the entry itself (device, inode,
    // mount). Until ForgetChosen, an Anchor on one of these paths fails with ChangedSinceChosen when its
    // folder is no longer the one recorded, and the entry's name acts only while it still names the
    // recorded entry. Holds no handle, however many paths are given.
    virtual void RecordChosen(const std::vector<std::string>& paths) = 0;
    virtual void ForgetChosen() = 0;
    // The folder at `path` as the operations reach it: through the handle an anchor holds of it (the folder
    // an anchor is held in included), else by its name; a link is never followed (failure 53).
    virtual Result<FolderPlace> PlaceOfFolder(const std::string& path) = 0;
    // The kind of kernel file system ("proc", "sysfs", ...) that the named entry lies on, or the empty
    // text for a file system that holds data; the name itself is not followed when it is a link.
    virtual std::string KernelFileSystem(const std::string& path) = 0;
};

// Holds an anchor for as long as it lives. A failed anchor holds its paths too: every operation on
// them fails, never falling back to the path's text.
class ScopedAnchor {
public:
    ScopedAnchor(FileServices& files, const std::string& chosen) : files_(files), held_(files_.Anchor(chosen)) {}
    ~ScopedAnchor() { files_.Unanchor(); }
    ScopedAnchor(const ScopedAnchor&) = delete;
    ScopedAnchor& operator=(const ScopedAnchor&) = delete;
    const Result<>& held() const { return held_; }

private:
    FileServices& files_;
    Result<> held_;
};

// Records the chosen paths of a run for as long as it lives (see FileServices::RecordChosen).
class RecordedChoice {
public:
    RecordedChoice(FileServices& files, const std::vector<std::string>& paths) : files_(files) {
        files_.RecordChosen(paths);
    }
    ~RecordedChoice() { files_.ForgetChosen(); }
    RecordedChoice(const RecordedChoice&) = delete;
    RecordedChoice& operator=(const RecordedChoice&) = delete;

private:
    FileServices& files_;
};

}  // namespace scorvane
