#include "engine/OneFileWipe.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "engine/FailureMessages.h"
#include "engine/GutmannMethod.h"
#include "engine/PassPattern.h"
#include "engine/PassPlans.h"
#include "engine/PassWriter.h"
#include "engine/ProgressWindow.h"
#include "engine/WipeHelpers.h"
#include "engine/WorkPace.h"
#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace scorvane {

namespace {

enum class Outcome { Done, Stopped, Failed };

// Attempts at a fresh random name before a rename counts as failed: an existing name is never replaced.
constexpr int kRenameAttempts = 16;

// The file being wiped: opened once, and every write, the cut and the deletion go through this handle
// or are checked against what it is, so that another file put under the name is never touched.
struct Target {
    const std::string& path;
    FileHandle file;
    FileIdentity identity;  // as seen on the handle right after the open
    WorkPace& pace;         // the run's: every step of the file, however short, keeps the windows answered
};

char FillFor(Program& program, const Pass& pass) {
    return pass.fill == kRandomCharacter ? RandomFillCharacter(program) : pass.fill;
}

Outcome Fail(Program& program, const Target& target, const Failure& failure) {
    ReportRemaining(program, target.path, failure);
    return Outcome::Failed;
}

void MoveBar(Program& program, int chunk) {
    Image& bar = program.dialog().ImgBar;
    const Twips width = BarWidth(kChunks - 1, chunk);
    if (bar.width != width && bar.width < kBarFullWidth + 1) {
        bar.width = width;
        program.windows().Yield();
    } else if (bar.width > kBarFullWidth) {
        bar.width = kBarFullWidth;
        program.windows().Yield();
    }
}

void CancelSteps(Program& program) {
    UnloadDialogIfLoaded(program);
    program.form1().mousePointer = MousePointer::Default;
    program.windows().MessageBox(program.Lang[Text::Cancelled], MessageStyle::Information,
                                 program.Lang[Text::CancelledTitle]);
    program.CancelFlag = 1;
    // A job from the command line ends here: what it was asked to destroy is not all gone.
    if (!Trim(program.facts().commandLine).empty()) program.windows().EndProgram(1);
}

// One pass of methods 0 to 7. A small file takes one write: a character pass without progress or yield,
// a byte pass through WriteToFile with its yields. A larger one shows its progress after each chunk.
Outcome RunPass(Program& program, const Target& target, const Pass& pass, const std::string& displayName) {
    const std::int64_t length = target.identity.length;
    RandomPattern random(program.random(), pass.range);
    const bool small = length < kSmallFileLimit;
    if (small && pass.kind == PassKind::Byte) {
        if (auto written = WriteToFile(program, target.file, length + 1, random); !written) {
            return Fail(program, target, written.failure());
        }
        return Outcome::Done;
    }
    PassPace chunks{{}, [&target] { return target.pace.Step(); }};
    std::function<bool(std::size_t)>& afterChunk = chunks.afterWrite;
    if (!small) {
        Dialog& dialog = program.dialog();
        dialog.Label8.caption = ProgressText(program, displayName, 0, pass.label);
        dialog.ImgBar.width = 0;
        dialog.Show();
        if (pass.repaintFirst) {
            program.dialog().Refresh();
            program.windows().Yield();
        }
        program.form1().Hide();
        afterChunk = [&](std::size_t i) {
            if (i >= kChunks) return true;  // the remainder
            const int chunk = static_cast<int>(i);
            // Built where the window may be drawn, and for the last chunk, so the pass ends with its text.
            if (chunk == kChunks - 1 || program.windows().RepaintDue()) {
                program.dialog().Label8.caption = ProgressText(program, displayName, chunk + 1, pass.label);
            }
            MoveBar(program, chunk);
            return program.CancelFlag != 1;
        };
    }
    const auto layout = PassLayout(pass.kind, length);
    const PassBytes bytes{pass.kind, [&] { return FillFor(program, pass); }, &random};
    bool stopped = false;
    if (auto written = WritePass(program.files(), target.file, layout, bytes, chunks, stopped); !written) {
        return Fail(program, target, written.failure());
    }
    if (stopped) {
        CancelSteps(program);
        return Outcome::Stopped;
    }
    return Outcome::Done;
}

Outcome GutmannSteps(Program& program, const Target& target, const std::string& displayName) {
    Dialog& dialog = program.dialog();
    dialog.Label8.caption = "Wiping: " + displayName + "\r0% (" + program.Lang[Text::PassLabel] + " 1)";
    dialog.Show();
    program.form1().Hide();
    program.windows().Yield();
    program.dialog().Refresh();
    const GutmannResult result = WipeGutmann(program, target.file, target.path, displayName);
    if (result == GutmannResult::Failed) {
        // The progress window stays: a caller going on with a tree or a list shows it for the next file,
        // and unloading it here would have the next touch load it again hidden, losing a stop request.
        program.form1().mousePointer = MousePointer::Default;
        return Outcome::Failed;
    }
    if (program.CancelFlag == 1) {
        CancelSteps(program);
        return Outcome::Stopped;
    }
    return Outcome::Done;
}

// Bytes beyond what the passes wrote (another program appended while they ran) were never overwritten:
// such a file is reported and kept, never deleted with readable data in it.
bool GrewDuringTheWipe(Program& program, const Target& target) {
    const auto now = program.files().Identify(target.file);
    if (!now) return false;
    return now.value().length > std::max(target.identity.length, now.value().writtenEnd);
}

void ReportChanged(Program& program, const std::string& path) { ReportKept(program, path, Text::ChangedWhileWiped); }

// The new name, the 3-byte stub, the deletion. The file's content is already overwritten and on disk. The
// file is closed on every path.
void EndOfFile(Program& program, const Target& target) {
    FileServices& files = program.files();
    const std::string& path = target.path;
    // The new name lies in the file's own folder, also for a name given without one (relative to the
    // working folder): never in ItemFolder, which may still hold the folder of an earlier item.
    const auto separator = path.rfind(kSeparator);
    const std::string folder = separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
    if (!folder.empty()) program.form1().ItemFolder = folder;
    // Each step below may wait for the file system: the windows stay answered between them. A stop waits
    // for the end of the file, whose content is already gone.
    (void)target.pace.Step();

    std::string newPath;
    Result<> renamed = MakeFailure(FailureNumber::FileExists);
    for (int attempt = 0; attempt < kRenameAttempts && !renamed; ++attempt) {
        std::string name(kNewNameLength, 'A');
        for (char& letter : name) letter = RandomNameLetter(program);
        newPath = folder + name;
        renamed = files.Rename(path, newPath);
        if (!renamed && renamed.failure().number != FailureNumber::FileExists) break;
    }
    if (!renamed) {
        (void)files.Close(target.file);
        if (renamed.failure().number == FailureNumber::ChangedSinceChosen) {
            ReportChanged(program, path);  // another file took the name: it keeps it, untouched
        } else {
            (void)Fail(program, target, renamed.failure());
        }
        return;
    }

    // The stub is cut through the handle: whatever the name reaches now, only this file is cut. The
    // overwritten content reached the disk with the last pass; the stub itself needs no flush of its own.
    (void)target.pace.Step();
    Result<> cut = CutToNothing(files, target.file, target.identity.length, [&target] { (void)target.pace.Step(); });
    if (cut) cut = files.Seek(target.file, 1);
    if (cut) cut = files.PrintLine(target.file, " ");
    if (cut) cut = files.Close(target.file);
    files.CloseAll();
    if (!cut) {
        ReportRenamed(program, path, newPath, cut.failure());
        return;
    }
    (void)target.pace.Step();
    const auto deleted = files.DeleteIfSame(newPath, target.identity);
    if (deleted) return;
    if (deleted.failure().number == FailureNumber::FileNotFound) {
        // Another file took the name between the rename and now: it goes back to its name untouched.
        (void)files.Rename(newPath, path);
        ReportChanged(program, path);
        return;
    }
    ReportRenamed(program, path, newPath, deleted.failure());
}

Outcome RunPasses(Program& program, const Target& target, int method, const std::string& displayName) {
    if (method == kGutmannMethod) return GutmannSteps(program, target, displayName);
    for (const Pass& pass : PassesOf(method)) {
        const Outcome outcome = RunPass(program, target, pass, displayName);
        if (outcome != Outcome::Done) return outcome;
    }
    return Outcome::Done;
}

}  // namespace

std::string DisplayName(const std::string& path) {
    const auto separator = path.rfind(kSeparator);
    if (separator == std::string::npos) return {};
    std::string name(FirstCharacters(std::string_view(path).substr(separator + 1), 40));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name + "...";
}

std::string ProgressText(const Program& program, const std::string& displayName, int percent, int passLabel) {
    std::string text = "Wiping: " + displayName + "\r" + Decimal(percent) + "%";
    if (passLabel != 0) text += " (" + program.Lang[Text::PassLabel] + " " + Decimal(passLabel) + ")";
    return text;
}

namespace {

// The wipe of a file opened for it: what the handle says the file is decides.
void WipeOpened(Program& program, const std::string& path, FileHandle file, int method, WorkPace& pace) {
    FileServices& files = program.files();
    const std::string displayName = DisplayName(path);
    const auto identity = files.Identify(file);
    if (!identity) {
        ReportRemaining(program, path, identity.failure());
        files.CloseAll();
        return;
    }
    const Target target{path, file, identity.value(), pace};
    // Checked again on the handle: a hard link made between the look and the open counts too.
    if (target.identity.names > 1) {
        (void)files.Close(target.file);
        ReportKept(program, path, Text::OtherNamesKept);
        return;
    }
    program.form1().FileLength = target.identity.length;
    if (target.identity.length == 0) {
        (void)files.Close(target.file);
        if (auto deleted = files.DeleteIfSame(path, target.identity); !deleted) {
            ReportRemaining(program, path, deleted.failure());
        }
        return;
    }

    const Outcome outcome = RunPasses(program, target, method, displayName);
    if (outcome == Outcome::Done && GrewDuringTheWipe(program, target)) {
        (void)files.Close(target.file);
        ReportChanged(program, path);
        return;
    }
    if (outcome == Outcome::Done) {
        EndOfFile(program, target);
    } else {
        (void)files.Close(target.file);
    }
}

}  // namespace

void WipeFile(Program& program, const std::string& path, int method) {
    if (program.CancelFlag == 1) return;
    if (path.empty() || path.back() == kSeparator) return;  // names a folder, not a file
    FileServices& files = program.files();
    const ScopedAnchor anchor(files, path);

    const auto named = anchor.held() ? files.IdentifyName(path) : Result<FileIdentity>(anchor.held().failure());
    if (!named) {
        // A name that is gone took its file with it; one whose folder or file was swapped since it was
        // chosen is never followed, and what was chosen stays where it went.
        const int number = named.failure().number;
        if (number == FailureNumber::ChangedSinceChosen) {
            ReportChanged(program, path);
        } else if (number != FailureNumber::FileNotFound) {
            ReportRemaining(program, path, named.failure());
        }
        return;
    }
    if (named.value().kind == EntryKind::Folder) return;
    if (named.value().kind == EntryKind::Other) {
        // A link, FIFO, socket or device is removed as a name, never opened or followed.
        if (auto deleted = files.Delete(path); !deleted) ReportRemaining(program, path, deleted.failure());
        return;
    }
    // Other names of the file share its content: overwriting it would destroy files nobody chose.
    if (named.value().names > 1) {
        ReportKept(program, path, Text::OtherNamesKept);
        return;
    }
    ClearAttributes(program, path);

    const auto file = files.Open(path, OpenMode::ByteAccess);
    if (!file) {
        if (file.failure().number == FailureNumber::ChangedSinceChosen) {
            ReportChanged(program, path);
        } else {
            ReportRemaining(program, path, file.failure());
        }
        return;
    }
    WorkPace pace(program);
    WipeOpened(program, path, file.value(), method, pace);
}

void WipeListedFile(Program& program, const std::string& path, int method, WorkPace& pace) {
    if (program.CancelFlag == 1) return;
    if (path.empty() || path.back() == kSeparator) return;
    FileServices& files = program.files();
    const ScopedAnchor anchor(files, path);
    // No look at the name first: the open follows no link and takes a regular file only, and the handle
    // says the rest. What the open refuses (a name that changed since the walk looked at it) is looked at
    // and reported as WipeFile does.
    const auto file =
        anchor.held() ? files.Open(path, OpenMode::ByteAccess) : Result<FileHandle>(anchor.held().failure());
    if (!file) {
        WipeFile(program, path, method);
        return;
    }
    WipeOpened(program, path, file.value(), method, pace);
}

}  // namespace scorvane
