#include "engine/FillFolder.h"

#include <algorithm>

#include "engine/FreeSpaceWipe.h"
#include "engine/PassWriter.h"
#include "engine/WorkPace.h"
#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace scorvane {

namespace {
constexpr std::size_t kZNameLength = 24;
}  // namespace

FillFolder::FillFolder(Program& program, std::string drive)
    : program_(program),
      files_(program.files()),
      drive_(std::move(drive)),
      folder_(JoinPath(drive_, kFillFolderName)) {}

FillFolder::~FillFolder() {
    (void)Release();
    if (anchored_) files_.Unanchor();
}

FillFolder::Readiness FillFolder::Open() {
    if (files_.KindOf(drive_) != EntryKind::Folder) return Readiness::DriveRefused;
    const auto mounts = program_.drives().MountPoints();
    const auto listed = [this](const std::string& mount) { return JoinPath(mount, "") == JoinPath(drive_, ""); };
    if (std::none_of(mounts.begin(), mounts.end(), listed)) return Readiness::DriveRefused;

    // From here on the drive is its handle: a drive taken away since the list was read leaves a plain
    // folder of another file system under its name, which is no mount's root and is not filled.
    const auto hold = [this] {
        anchored_ = true;
        if (!files_.Anchor(folder_)) return false;
        const auto place = files_.PlaceOfFolder(drive_);
        if (!place || !place.value().mountRoot) return false;
        if (drivePlace_.device != 0 && !place.value().SameFolder(drivePlace_)) return false;
        drivePlace_ = place.value();
        return true;
    };
    if (!hold()) return Readiness::DriveRefused;

    const auto found = files_.IdentifyName(folder_);
    FileIdentity made;
    if (found && found.value().kind != EntryKind::Folder) return Readiness::FolderRefused;
    // A name that cannot be looked at, or that changed since the drive was held, is no folder to fill.
    if (!found && found.failure().number != FailureNumber::FileNotFound) return Readiness::FolderRefused;
    if (!found) {
        if (auto madeNow = files_.MakeFolder(folder_); !madeNow) {
            failure_ = madeNow.failure();
            switch (failure_.number) {
                case FailureNumber::DiskFull:
                    return Readiness::Full;
                case FailureNumber::BadFileName:
                case FailureNumber::PermissionDenied:
                    return Readiness::DriveRefused;
                default:
                    return Readiness::Failed;
            }
        }
        made = files_.IdentifyName(folder_).value_or(FileIdentity{});
        ownFolder_ = made.kind == EntryKind::Folder;
        // Held again now that the folder exists, so that the anchor holds the folder as made.
        files_.Unanchor();
        anchored_ = false;
        if (!hold()) return Readiness::DriveRefused;
    }
    const auto place = files_.PlaceOfFolder(folder_);
    if (!place || place.value().mountRoot || !place.value().SameMount(drivePlace_)) return Readiness::FolderRefused;
    folderPlace_ = place.value();
    if (ownFolder_ && (made.device != folderPlace_.device || made.inode != folderPlace_.inode)) {
        ownFolder_ = false;  // another folder took the name at once: not ours to remove
        return Readiness::FolderRefused;
    }
    return Readiness::Ready;
}

Result<FileHandle> FillFolder::MakeFile() {
    std::string path;
    Result<FileHandle> opened = MakeFailure(FailureNumber::FileExists);
    while (!opened && opened.failure().number == FailureNumber::FileExists) {
        // A name that is taken is the user's: skipped, never opened.
        path = JoinPath(folder_, kFillFilePrefix + Decimal(++number_));
        opened = files_.Open(path, OpenMode::CreateNew);
    }
    if (!opened) return opened.failure();
    const auto identity = files_.Identify(opened.value());
    made_.push_back({path, identity.value_or(FileIdentity{})});
    // Never written anywhere but on the drive, whatever became of the names on the way.
    if (!identity || identity.value().device != drivePlace_.device) {
        (void)files_.Close(opened.value());
        return identity ? MakeFailure(FailureNumber::PermissionDenied) : identity.failure();
    }
    return opened;
}

std::vector<std::string> FillFolder::Release() {
    const std::string zFile = JoinPath(folder_, std::string(kZNameLength, 'Z'));
    std::vector<std::string> left;
    WorkPace pace(program_);
    for (const Made& file : made_) {
        if (!ReleaseFile(file, zFile, pace)) left.push_back(file.path);
    }
    made_.clear();
    ReleaseFolder();
    return left;
}

bool FillFolder::ReleaseFile(const Made& file, const std::string& zFile, WorkPace& pace) {
    FreeInSteps(file, pace);
    if (files_.Rename(file.path, zFile)) {
        if (files_.DeleteIfSame(zFile, file.identity)) return true;
        (void)files_.Rename(zFile, file.path);  // not the file made, or not deleted: back under its name
    }
    // The 'Z' name is taken, or could not be given: the file goes under its own name.
    return files_.DeleteIfSame(file.path, file.identity).ok();
}

void FillFolder::FreeInSteps(const Made& file, WorkPace& pace) {
    const auto opened = files_.Open(file.path, OpenMode::ByteAccess);
    if (!opened) return;
    const auto now = files_.Identify(opened.value());
    if (now && now.value().SameFile(file.identity)) {
        (void)CutToNothing(files_, opened.value(), now.value().length, [&pace] { (void)pace.Step(); });
    }
    (void)files_.Close(opened.value());
}

void FillFolder::ReleaseFolder() {
    if (!ownFolder_) return;
    ownFolder_ = false;
    // Only while the name still holds the folder made (a folder put in its place is another's), and only
    // when it is empty: a folder that keeps anything keeps its name, so that what it holds is found.
    const auto named = files_.IdentifyName(folder_);
    if (!named || named.value().kind != EntryKind::Folder || named.value().device != folderPlace_.device ||
        named.value().inode != folderPlace_.inode) {
        return;
    }
    const auto listing = files_.ListFolder(folder_);
    if (!listing || !listing.value().fileNames.empty() || !listing.value().subFolders.empty() ||
        !listing.value().mountPoints.empty() || !listing.value().others.empty()) {
        return;
    }
    const std::string zFolder = JoinPath(drive_, std::string(kZNameLength, 'Z'));
    if (files_.Rename(folder_, zFolder)) {
        (void)files_.RemoveFolder(zFolder);
    } else {
        (void)files_.RemoveFolder(folder_);
    }
}

}  // namespace scorvane
