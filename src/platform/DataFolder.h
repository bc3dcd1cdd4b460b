#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace scorvane {

// The file that marks an installed program folder: such a folder is shared by every user and is never
// written, whoever runs the program (root included).
inline constexpr const char* kInstalledMark = "Installed.txt";

// The user's own folder for the program's files: $XDG_CONFIG_HOME/scorvane, else $HOME/.config/scorvane,
// taken only when that folder and the one above it are real folders (not links) of the running user that
// no one else may write, or are missing in such a folder (the program makes them, private); otherwise the
// same under the home folder of the running user's own entry in the password database (never another
// user's, for root neither). Nothing when no folder passes, or there is no home folder to start from.
std::optional<std::string> UserDataFolder();

// Where the program writes its own files (settings, temporary file): the program folder when it is not an
// installed folder, this user may write there, and it is the user's own folder that no one else may
// write; otherwise UserDataFolder().
std::optional<std::string> ProgramDataFolder(const std::string& programFolder);

// Makes `folder` and every missing folder above it, each private to the user (0700). True when the
// folder exists afterwards.
bool MakeFolderPath(const std::string& folder);

// A folder the program writes its own files in, held open from the moment it was checked: a real folder
// (not a link) of the running user that no one else may write. Its files are reached through the handle
// and never through a link, so no later change of the folder's path leads a write anywhere else.
class OwnFolder {
public:
    // Opens `folder` as it is (the program folder).
    static Result<OwnFolder> Open(const std::string& folder);
    // Opens the user's own `folder`, whose parent must pass the same checks; with `make`, a missing
    // `folder` is made first, private, with every folder missing above it.
    static Result<OwnFolder> OpenUsers(const std::string& folder, bool make);
    OwnFolder(OwnFolder&& other) noexcept;
    OwnFolder& operator=(OwnFolder&& other) noexcept;
    OwnFolder(const OwnFolder&) = delete;
    OwnFolder& operator=(const OwnFolder&) = delete;
    ~OwnFolder();

    // A path that reaches `name` in this folder through its handle, for the file services.
    std::string PathOf(std::string_view name) const;
    // Makes `bytes` the whole content of `name`: written to a new file beside it, flushed, and renamed
    // over it, so that a failure at any step leaves the old file whole. A `name` that is anything but a
    // file with one name (D25: its other names would change too) is left, and then nothing is written.
    Result<> Replace(std::string_view name, std::string_view bytes) const;

private:
    explicit OwnFolder(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace scorvane
