#include "engine/OneFileWipe.h"

#include <algorithm>
#include <vector>

#include "engine/FailureMessages.h"
#include "engine/GutmannMethod.h"
#include "engine/PassPattern.h"
#include "engine/PassPlans.h"
#include "engine/ProgressWindow.h"
#include "engine/WipeHelpers.h"
#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace scorvane {

namespace {

enum class Outcome { Done, Stopped, Failed };

// Attempts at a fresh random name before a rename counts as failed: an existing name is never replaced.
constexpr int kRenameAttempts = 16;

char FillFor(Program& program, const Pass& pass) {
    return pass.fill == kRandomCharacter ? RandomFillCharacter(program) : pass.fill;
}

// Reports a failure of the file's wipe and releases the file; the file keeps its name.
Outcome Fail(Program& program, FileHandle file, const Failure& failure) {
    (void)program.files().Close(file);
    ShowWipeFailure(program, failure);
    return Outcome::Failed;
}

Outcome SmallPass(Program& program, const std::string& path, std::int64_t length, const Pass& pass) {
    FileServices& files = program.files();
    if (pass.kind == PassKind::Byte) {
        // One byte more than the file holds, so that every byte is covered.
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length) + 1);
        RandomPattern random(program.random(), pass.range);
        const auto drawn = random.Next(bytes.size());
        std::copy(drawn.begin(), drawn.end(), bytes.begin());
        BufferPattern pattern(std::move(bytes));
        return WriteToFile(program, path, length + 1, pattern) ? Outcome::Done : Outcome::Failed;
    }
    const auto file = files.Open(path, OpenMode::ByteAccess);
    if (!file) {
        ShowWipeFailure(program, file.failure());
        return Outcome::Failed;
    }
    Result<> written = files.Seek(file.value(), 1);
    if (written) written = files.WriteTaggedFill(file.value(), FillFor(program, pass), length);
    if (written) written = files.Flush(file.value());
    if (!written) return Fail(program, file.value(), written.failure());
    (void)files.Close(file.value());
    return Outcome::Done;
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
    program.windows().MessageBox(program.Lang[27], MessageStyle::Information, program.Lang[26]);
    program.CancelFlag = 1;
    if (!Trim(program.facts().commandLine).empty()) program.windows().EndProgram();
}

Outcome ChunkedPass(Program& program, const std::string& path, std::int64_t length, const std::string& displayName,
                    const Pass& pass) {
    FileServices& files = program.files();
    const std::int64_t chunk = length / kChunks;
    const std::int64_t remainder = length - kChunks * chunk;
    RandomPattern random(program.random(), pass.range);

    const auto file = files.Open(path, OpenMode::ByteAccess);
    if (!file) {
        ShowWipeFailure(program, file.failure());
        return Outcome::Failed;
    }
    Dialog& dialog = program.dialog();
    dialog.Label8.caption = ProgressText(program, displayName, 0, pass.label);
    dialog.ImgBar.width = 0;
    dialog.Show();
    if (pass.repaintFirst) {
        program.dialog().Refresh();
        program.windows().Yield();
    }
    program.form1().Hide();

    for (int i = 0; i < kChunks; ++i) {
        Result<> written = files.Seek(file.value(), i == 0 ? 1 : chunk * i - 1);
        if (written) {
            written = pass.kind == PassKind::Character
                          ? files.WriteTaggedFill(file.value(), FillFor(program, pass), chunk)
                          : WritePattern(files, file.value(), chunk + 1, random);
        }
        if (!written) return Fail(program, file.value(), written.failure());
        program.dialog().Label8.caption = ProgressText(program, displayName, i + 1, pass.label);
        MoveBar(program, i);
        if (program.CancelFlag == 1) {
            (void)files.Flush(file.value());
            (void)files.Close(file.value());
            CancelSteps(program);
            return Outcome::Stopped;
        }
    }

    Result<> written;
    if (pass.kind == PassKind::Character) {
        written = files.Seek(file.value(), kChunks * chunk - 3);
        if (written) written = files.WriteTaggedFill(file.value(), FillFor(program, pass), remainder);
    } else {
        written = files.Seek(file.value(), kChunks * chunk);
        if (written) written = WritePattern(files, file.value(), remainder + 1, random);
    }
    if (written) written = files.Flush(file.value());
    if (!written) return Fail(program, file.value(), written.failure());
    (void)files.Close(file.value());
    return Outcome::Done;
}

Outcome GutmannSteps(Program& program, const std::string& path, const std::string& displayName) {
    Dialog& dialog = program.dialog();
    dialog.Label8.caption = "Wiping: " + displayName + "\r0% (" + program.Lang[69] + " 1)";
    dialog.Show();
    program.form1().Hide();
    program.windows().Yield();
    program.dialog().Refresh();
    const GutmannResult result = WipeGutmann(program, path, displayName);
    if (result == GutmannResult::Failed) {
        UnloadDialogIfLoaded(program);
        program.form1().mousePointer = MousePointer::Default;
        return Outcome::Failed;
    }
    if (program.CancelFlag == 1) {
        CancelSteps(program);
        return Outcome::Stopped;
    }
    return Outcome::Done;
}

// The new name, the 3-byte stub, the deletion. The file's content is already overwritten and on disk.
void EndOfFile(Program& program, const std::string& path) {
    FileServices& files = program.files();
    Form1& form = program.form1();
    const auto separator = path.rfind(kSeparator);
    if (separator != std::string::npos) form.ItemFolder = path.substr(0, separator + 1);

    std::string newPath;
    Result<> renamed = MakeFailure(FailureNumber::FileExists);
    for (int attempt = 0; attempt < kRenameAttempts && !renamed; ++attempt) {
        std::string name(kNewNameLength, 'A');
        for (char& letter : name) letter = RandomNameLetter(program);
        newPath = form.ItemFolder + name;
        renamed = files.Rename(path, newPath);
        if (!renamed && renamed.failure().number != FailureNumber::FileExists) break;
    }
    if (!renamed) {
        ShowWipeFailure(program, renamed.failure());
        return;
    }

    const auto stub = files.Open(newPath, OpenMode::TextOutput);
    Result<> cut = stub ? files.PrintLine(stub.value(), " ") : Result<>(stub.failure());
    if (cut) cut = files.Flush(stub.value());
    files.CloseAll();
    if (!cut) {
        ShowWipeFailure(program, cut.failure());
        return;
    }
    if (auto deleted = files.Delete(newPath); !deleted) ShowWipeFailure(program, deleted.failure());
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
    if (passLabel != 0) text += " (" + program.Lang[69] + " " + Decimal(passLabel) + ")";
    return text;
}

void WipeFile(Program& program, const std::string& path, int method) {
    if (program.CancelFlag == 1) return;
    FileServices& files = program.files();
    if (path.empty() || path.back() == kSeparator) return;  // names a folder, not a file

    if (files.Exists(path).empty()) {
        // A link, FIFO, socket or device is removed as a name, never opened or followed.
        if (files.KindOf(path) == EntryKind::Other) (void)files.Delete(path);
        return;
    }
    // Other names of the file share its content: overwriting it would destroy files nobody chose.
    if (const auto names = files.NameCount(path); names && names.value() > 1) {
        program.windows().MessageBox(program.Lang[87] + "\r" + path, MessageStyle::Exclamation, program.Lang[28]);
        return;
    }
    ClearAttributes(program, path);
    const std::string displayName = DisplayName(path);

    const auto file = files.Open(path, OpenMode::ByteAccess);
    if (!file) {
        ShowWipeFailure(program, file.failure());
        return;
    }
    const auto length = files.Length(file.value());
    if (!length) {
        Fail(program, file.value(), length.failure());
        return;
    }
    program.form1().FileLength = length.value();
    (void)files.Close(file.value());
    if (length.value() == 0) {
        if (auto deleted = files.Delete(path); !deleted) ShowWipeFailure(program, deleted.failure());
        return;
    }

    Outcome outcome = Outcome::Done;
    if (method == kGutmannMethod) {
        outcome = GutmannSteps(program, path, displayName);
    } else {
        for (const Pass& pass : PassesOf(method)) {
            outcome = length.value() < kSmallFileLimit ? SmallPass(program, path, length.value(), pass)
                                                       : ChunkedPass(program, path, length.value(), displayName, pass);
            if (outcome != Outcome::Done) break;
        }
    }
    if (outcome == Outcome::Done) EndOfFile(program, path);
}

}  // namespace scorvane
