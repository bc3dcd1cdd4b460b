#pragma once

#include <string>
#include <vector>

#include "platform/FileServices.h"

namespace scorvane {

class Program;
class WorkPace;

// The fill folder "QV" of one drive and the fill files in it, reached only through a handle of the
// drive's mount point that is opened once and held to the end, and through the folder's own handle:
// a name on the way that is later swapped for a link, covered by another mount or taken away with the
// drive's mount leads nothing anywhere else. Lives for one fill.
class FillFolder {
public:
    enum class Readiness {
        Ready,          // the folder is there, the user's or made now, on the drive's own mount
        Full,           // the folder could not be made for want of space: there is nothing to fill
        DriveRefused,   // the drive is no mounted, writable folder of the drive list
        FolderRefused,  // "QV" is there but no folder of the drive's own (a link, a file, another mount)
        Failed,         // making the folder failed otherwise: failure() says how
    };

    FillFolder(Program& program, std::string drive);
    // Releases what is still held, as Release does, and the drive's handle.
    ~FillFolder();
    FillFolder(const FillFolder&) = delete;
    FillFolder& operator=(const FillFolder&) = delete;

    // Opens the drive's mount point, checks that it is the root of the mount listed as the drive, and
    // takes the folder "QV" in it, made when missing (never following a link).
    Readiness Open();
    const Failure& failure() const { return failure_; }
    const std::string& path() const { return folder_; }

    // The next fill file, made new under the first free number (a name that is taken is the user's and is
    // skipped); checked to lie on the drive. Its path is path() joined with the name.
    Result<FileHandle> MakeFile();
    const std::string& LastFile() const { return made_.back().path; }

    // Renames each fill file made to 24 'Z's and deletes it, while the name still holds the file made, then
    // the folder when it was made here and its name still holds it. Gives the paths of the fill files that
    // could not be released.
    std::vector<std::string> Release();

private:
    struct Made {
        std::string path;
        FileIdentity identity;
    };
    bool ReleaseFile(const Made& file, const std::string& zName, WorkPace& pace);
    // A fill file of a gigabyte is freed a part at a time, while the name still holds the file made, so
    // that the windows are answered meanwhile: its removal then has little left to free.
    void FreeInSteps(const Made& file, WorkPace& pace);
    void ReleaseFolder();

    Program& program_;
    FileServices& files_;
    std::string drive_;
    std::string folder_;
    bool anchored_ = false;
    bool ownFolder_ = false;
    FolderPlace drivePlace_;
    FolderPlace folderPlace_;
    int number_ = 0;
    std::vector<Made> made_;
    Failure failure_;
};

}  // namespace scorvane
