#include "engine/FolderWalk.h"

#include <optional>
#include <vector>

#include "engine/OneFileWipe.h"
#include "engine/WipeHelpers.h"
#include "engine/WorkPace.h"
#include "model/Program.h"
#include "platform/Paths.h"

namespace scorvane {

namespace {

// The path without trailing separators and trailing "." parts: "a/b/./" names "a/b" itself.
std::string_view NamedEntry(std::string_view path) {
    for (;;) {
        if (path.size() > 1 && path.back() == kSeparator) {
            path.remove_suffix(1);
        } else if (path.size() > 2 && path.ends_with("/.")) {
            path.remove_suffix(2);
        } else {
            return path;
        }
    }
}

// The listing of a folder the walk may enter, or nothing. A link is never entered, also when the path
// ends in separators or "." that would make the system follow it; a final ".." may lead anywhere
// (through a link, to the root), so it is not entered either.
// A sub-folder that a listing gave (`listed`) needs no such look: its name is a plain name, and the
// listing of a folder opens no link and no other file system. A long listing yields as it goes; a stop
// ends it with no listing.
std::optional<FolderListing> ListWalkableFolder(Program& program, const std::string& path, bool listed = false) {
    if (!listed) {
        if (IsFilesystemRoot(program, path)) return std::nullopt;
        const std::string_view named = NamedEntry(path);
        if (NamePart(named) == "..") return std::nullopt;
        if (program.files().KindOf(std::string(named)) != EntryKind::Folder) return std::nullopt;
    }
    WorkPace pace(program);
    auto listing = program.files().ListFolderPaced(path, [&pace] { return pace.Step(); });
    if (!listing) return std::nullopt;
    return std::move(listing.value());
}

}  // namespace

bool IsFilesystemRoot(Program& program, std::string_view path) {
    // However it is written or reached: "//", "/a/..", ".", a link to "/".
    if (program.files().IsSystemRoot(std::string(path))) return true;
    if (path.empty() || path.front() != kSeparator) return false;
    int depth = 0;
    while (!path.empty()) {
        const auto end = path.find(kSeparator);
        const std::string_view part = path.substr(0, end);
        if (part == "..") {
            if (depth > 0) --depth;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        path.remove_prefix(end == std::string_view::npos ? path.size() : end + 1);
    }
    return depth == 0;
}

namespace {

// ElencaFiles on a folder listed just before: nothing can have changed in it since.
void WipeListedFiles(Program& program, const std::string& folderOr, const std::optional<FolderListing>& folder) {
    if (program.CancelFlag == 1) return;
    if (!folder) {
        if (program.CancelFlag != 1) program.windows().Beep();  // a stop during the listing is no failure
        return;
    }
    // Links and special files go to WipeFile too, which removes them as names.
    std::vector<std::string> names = folder->fileNames;
    for (const auto& other : folder->others) names.emplace_back(NamePart(other));
    if (names.empty()) return;

    const auto count = static_cast<double>(names.size());
    program.form1().ProgressTotal = FixedPoint4::FromDouble(count);
    program.dialog().Label9.visible = true;
    program.dialog().Show();
    // Files of a few bytes take no yield of their own: the folder's loop keeps the windows answered.
    WorkPace pace(program);
    bool failed = false;
    int done = 1;
    std::string path;
    for (const auto& name : names) {
        program.dialog().ImgBar.width = BarWidth(count, done);
        program.dialog().Refresh();
        if (program.CancelFlag == 1) return;
        // As the folder was given: a folder ending in the separator gives two before the name.
        path.assign(folderOr).append(1, kSeparator).append(name);
        if (program.Remaining.Holds(path)) continue;  // failed once in this run and reported then
        // A file with other names is left exactly as it is, its mode too: WipeFile reports it.
        const auto named = program.files().IdentifyName(path);
        if (!named) {
            failed = true;
        } else if (named.value().names <= 1 && !program.files().SetAttributes(path, Attribute::Normal)) {
            failed = true;
        }
        // A regular file just looked at and reset is opened without WipeFile's second look at its name.
        if (named && named.value().kind == EntryKind::RegularFile && named.value().names <= 1) {
            WipeListedFile(program, path, program.form1().Combo1.listIndex, pace);
        } else {
            WipeFile(program, path, program.form1().Combo1.listIndex);
        }
        if (program.CancelFlag == 1) return;
        ++done;
        program.dialog().Refresh();
        if (!pace.Step()) return;
    }
    program.dialog().Label9.visible = false;
    if (failed) program.windows().Beep();
}

}  // namespace

void ElencaFiles(Program& program, const std::string& folderOr) {
    if (program.CancelFlag == 1) return;
    WipeListedFiles(program, folderOr, ListWalkableFolder(program, folderOr));
}

namespace {

// The sub-folders of one folder still to be walked: the walk keeps its own stack instead of the call
// stack, so that a tree of any depth is walked without running out of stack.
struct Pending {
    std::vector<std::string> subFolders;
    std::size_t next = 0;
};

// A folder's own files, then its sub-folders queued (what Scan does before it goes deeper).
void Enter(Program& program, const std::string& folder, std::vector<Pending>& stack, bool listed) {
    auto CurFolder = ListWalkableFolder(program, folder, listed);
    WipeListedFiles(program, folder, CurFolder);
    SetNormalAttributes(program, folder);
    if (CurFolder && !CurFolder->subFolders.empty()) stack.push_back(Pending{std::move(CurFolder->subFolders)});
}

}  // namespace

// Depth first: each sub-folder is appended to List2 and walked before its next sibling.
void Scan(Program& program, const std::string& Percorso) {
    if (program.CancelFlag == 1) return;
    std::vector<Pending> stack;
    Enter(program, Percorso, stack, false);
    while (!stack.empty()) {
        Pending& top = stack.back();
        if (top.next == top.subFolders.size()) {
            stack.pop_back();
            continue;
        }
        if (program.CancelFlag == 1) return;
        const std::string SubFolder = std::move(top.subFolders[top.next++]);
        program.form1().List2.items.push_back(SubFolder);
        program.windows().Yield();
        if (program.CancelFlag == 1) return;
        Enter(program, SubFolder, stack, true);
    }
}

void Scan2(Program& program, const std::string& Percorso) {
    const auto CurFolder = ListWalkableFolder(program, Percorso);
    SetNormalAttributes(program, Percorso);
    if (!CurFolder) return;
    for (const auto& SubFolder : CurFolder->subFolders) {
        program.form1().List2.items.push_back(SubFolder);
        program.windows().Yield();
        Scan(program, SubFolder);
        if (program.CancelFlag == 1) return;
    }
}

}  // namespace scorvane
