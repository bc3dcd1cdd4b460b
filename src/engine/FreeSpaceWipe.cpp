#include "engine/FreeSpaceWipe.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/FailureMessages.h"
#include "engine/FillFolder.h"
#include "engine/FreeSpaceStatistics.h"
#include "engine/PassPlans.h"
#include "engine/ProgressWindow.h"
#include "engine/Shutdown.h"
#include "engine/WipeHelpers.h"
#include "model/Program.h"
#include "platform/Text.h"

namespace scorvane {

namespace {

constexpr std::int64_t kFullBlock = 1'024'000;
constexpr std::int64_t kTaggedHeader = 4;
constexpr std::int64_t kRollOverKb = 1'048'000;  // a fill file holds about 1 GB, then the next begins
constexpr int kLastDiskFull = 14;
constexpr int kFailuresInARow = 3;
constexpr int kTickInterval = 600;
// What the fill does next after a step or a failure.
enum class Next { Continue, RepeatCycle, NewFile, Finish, Refuse };

class SpaceFill {
public:
    SpaceFill(Program& program, const std::string& drive, int method)
        : program_(program),
          files_(program.files()),
          folder_(program, drive),
          cycle_(MethodOf(method).freeSpaceCycle) {}
    // Every ending lets the fill files go, also one that no caller saw coming.
    ~SpaceFill() {
        if (open_) (void)files_.Close(file_);
    }
    SpaceFill(const SpaceFill&) = delete;
    SpaceFill& operator=(const SpaceFill&) = delete;

    FillFolder& folder() { return folder_; }
    // The drive and its fill folder, held for the whole fill.
    FillFolder::Readiness Prepare() {
        const auto readiness = folder_.Open();
        full_ = readiness == FillFolder::Readiness::Full;
        return readiness;
    }
    // Fills until the disk is full or the user stops (true), or until a write is refused (false).
    bool Run();
    // Everything written reaches the disk before the file is let go; false, after the failure's box,
    // when it could not be made to.
    bool CloseFile();
    // Renames every fill file of this run to 24 'Z's and deletes it, then the folder when the run made it;
    // false when a fill file could not be let go (each such one is noted as remaining).
    bool CleanUp();

private:
    Next OpenNextFile();
    Next OpenFailed(const Failure& failure);
    Next WriteCycle();
    Next WriteBlock(char kind);
    Next RollOver();
    Next Handle(const Failure& failure);
    void Count(std::int64_t bytes);
    void ShowBar();
    void ShowWritten();

    Program& program_;
    FileServices& files_;
    FillFolder folder_;
    std::string_view cycle_;
    bool full_ = false;
    FileHandle file_ = 0;
    bool open_ = false;
    std::int64_t blockSize_ = kFullBlock;
    int diskFull_ = 0;
    int failuresInARow_ = 0;
    std::int64_t writtenBytes_ = 0;
    std::int64_t fileBytes_ = 0;
    std::vector<std::uint8_t> buffer_;
};

// Drive1_Change stores the free bytes / 10,000,000 in ProgressTotal, so its count of ten-thousandths is the
// free space in kilobytes.
std::int64_t FreeKb(Program& program) { return program.form1().ProgressTotal.tenThousandths; }

bool SpaceFill::Run() {
    if (full_) return true;  // not even the fill folder found room
    Next next = OpenNextFile();
    for (;;) {
        switch (next) {
            case Next::Finish:
                return true;
            case Next::Refuse:
                return false;
            case Next::NewFile:
                if (!CloseFile()) return false;
                next = OpenNextFile();
                continue;
            case Next::Continue:
            case Next::RepeatCycle:
                break;
        }
        next = WriteCycle();
        if (next != Next::Continue) continue;
        ShowBar();
        program_.windows().Yield();
        if (program_.form1().FileKb >= kRollOverKb) {
            next = RollOver();
            continue;
        }
        program_.windows().Yield();
        ShowWritten();
        if (program_.CancelFlag != 0) return true;
    }
}

Next SpaceFill::OpenNextFile() {
    const auto opened = folder_.MakeFile();
    if (!opened) return OpenFailed(opened.failure());
    file_ = opened.value();
    open_ = true;
    (void)files_.Seek(file_, 1);
    return Next::Continue;
}

// No further file can be made: a full disk ends the fill, anything else ends the run as refused.
Next SpaceFill::OpenFailed(const Failure& failure) {
    switch (failure.number) {
        case FailureNumber::DiskFull:
        case FailureNumber::InvalidPropertyValue:
            return Next::Finish;
        case FailureNumber::BadFileName:
        case FailureNumber::PermissionDenied:
            return Next::Refuse;
        default:
            (void)Handle(failure);
            return Next::Refuse;
    }
}

Next SpaceFill::WriteCycle() {
    for (const char kind : cycle_) {
        if (kind == 'y') {
            program_.windows().Yield();
            continue;
        }
        if (const Next next = WriteBlock(kind); next != Next::Continue) return next;
    }
    return Next::Continue;
}

// One block; a failure that the ladder or the table does not end is shown and the next block follows.
Next SpaceFill::WriteBlock(char kind) {
    Result<> written;
    std::int64_t bytes = 0;
    if (kind == 'B' || kind == 'D') {
        buffer_.resize(static_cast<std::size_t>(blockSize_ + 1));
        if (kind == 'B') {
            program_.random().Fill(buffer_);
        } else {
            program_.random().FillDigits(buffer_);
        }
        written = files_.WriteRaw(file_, buffer_);
        bytes = blockSize_ + 1;
    } else {
        const char fill = kind == 'c' ? RandomFillCharacter(program_) : kind;
        written = files_.WriteTaggedFill(file_, fill, blockSize_);
        bytes = kTaggedHeader + blockSize_;
    }
    if (!written) return Handle(written.failure());
    Count(bytes);
    return Next::Continue;
}

Next SpaceFill::RollOver() {
    if (auto flushed = files_.Flush(file_); !flushed) {
        if (const Next next = Handle(flushed.failure()); next != Next::Continue) return next;
    }
    program_.form1().FileKb = 0;
    fileBytes_ = 0;
    return Next::NewFile;
}

// The failure table of the fill: the disk-full ladder, a new file, the refusal, the end, or a box.
Next SpaceFill::Handle(const Failure& failure) {
    switch (failure.number) {
        case FailureNumber::DiskFull:
            if (++diskFull_ >= kLastDiskFull) return Next::Finish;
            blockSize_ = std::int64_t{4096} >> (diskFull_ - 1);  // 4096, 2048, ... 1
            return Next::RepeatCycle;
        case FailureNumber::BadRecordNumber:
            // Too large for one file: the next file, unless no file takes anything any more.
            return ++failuresInARow_ >= kFailuresInARow ? Next::Finish : Next::NewFile;
        case FailureNumber::BadFileName:
        case FailureNumber::PermissionDenied:
            return Next::Refuse;
        case FailureNumber::InvalidPropertyValue:
            return Next::Finish;
        default:
            ShowWipeFailure(program_, failure, folder_.LastFile());
            // A failure that comes back block after block would ask forever: the run ends instead.
            if (++failuresInARow_ >= kFailuresInARow) return Next::Refuse;
            return Next::Continue;
    }
}

// Every block written is counted, header bytes included.
void SpaceFill::Count(std::int64_t bytes) {
    failuresInARow_ = 0;
    writtenBytes_ += bytes;
    fileBytes_ += bytes;
    program_.form1().WrittenKb = writtenBytes_ / 1000;
    program_.form1().FileKb = fileBytes_ / 1000;
}

// An unknown free space (0) leaves the bar and the percentage as they are.
void SpaceFill::ShowBar() {
    const std::int64_t freeKb = FreeKb(program_);
    if (freeKb <= 0) return;
    Dialog& dialog = program_.dialog();
    Image& bar = dialog.ImgBar;
    bar.width = bar.width < kBarFullWidth + 1
                    ? BarWidth(static_cast<double>(freeKb), static_cast<double>(program_.form1().WrittenKb))
                    : kBarFullWidth;
    const double percent = static_cast<double>(bar.width) / kBarFullWidth * 100;
    if (std::floor(percent) < 100) {
        dialog.Label8.caption = program_.Lang[Text::WipingFreeSpace] + "\r" + OneDecimal(percent) + "%";
    } else {
        dialog.Label8.caption = program_.Lang[Text::WipingFreeSpace] + "\r 100%";
        bar.width = kBarFullWidth;
    }
}

void SpaceFill::ShowWritten() {
    Dialog& dialog = program_.dialog();
    dialog.Label2.caption = program_.Lang[Text::WrittenLabel] + " " + DigitGroups(program_.form1().WrittenKb) + " / " +
                            DigitGroups(FreeKb(program_)) + " Kb";
    dialog.Label5.caption = dialog.Label2.caption;
    dialog.Label6.caption = dialog.Label1.caption;
}

bool SpaceFill::CloseFile() {
    if (!open_) return true;
    const auto flushed = files_.Flush(file_);
    (void)files_.Close(file_);
    open_ = false;
    if (flushed) return true;
    ShowWipeFailure(program_, flushed.failure(), folder_.LastFile());
    return false;
}

bool SpaceFill::CleanUp() {
    const auto left = folder_.Release();
    for (const std::string& path : left) program_.Remaining.Add(path);
    return left.empty();
}

// Each statistics line with its shadow, only where the line is not shown yet; then the percentage line.
void ShowStatisticsLabels(Dialog& dialog) {
    if (!dialog.Label1.visible) {
        dialog.Label1.visible = true;
        dialog.Label6.caption = dialog.Label1.caption;
        dialog.Label6.visible = true;
    }
    const std::pair<Label*, Label*> pairs[] = {
        {&dialog.Label2, &dialog.Label5}, {&dialog.Label3, &dialog.Label7}, {&dialog.Label4, &dialog.Label10}};
    for (const auto& [line, shadow] : pairs) {
        if (!line->visible) {
            line->visible = true;
            shadow->visible = true;
        }
    }
    dialog.Label8.visible = true;
}

// The bar and the lines at 100 %, the written amount shown as the free space that is now overwritten.
void ShowFilled(Program& program) {
    Dialog& dialog = program.dialog();
    const std::int64_t freeKb = FreeKb(program);
    const std::int64_t shown = freeKb > 0 ? freeKb : program.form1().WrittenKb;
    dialog.ImgBar.width = kBarFullWidth;
    dialog.Label8.caption = program.Lang[Text::WipingFreeSpace] + "\r100%";
    dialog.Label2.caption =
        program.Lang[Text::WrittenLabel] + " " + DigitGroups(shown) + " / " + DigitGroups(freeKb) + " Kb";
    dialog.Label5.caption = dialog.Label2.caption;
}

std::string ElapsedText(Program& program) {
    const Form1& form = program.form1();
    const auto& lang = program.Lang;
    std::string text = lang[Text::FreeSpaceWipedIn] + " ";
    if (form.ElapsedHours > 0) text += Decimal(form.ElapsedHours) + " " + lang[Text::Hours] + ", ";
    if (form.ElapsedMinutes > 0)
        text += Decimal(form.ElapsedMinutes) + " " + lang[Text::Minutes] + " " + lang[Text::And] + " ";
    return text + Decimal(form.ElapsedSeconds) + " " + lang[Text::Seconds] + "!";
}

// The drive cannot be filled: `detail` is the fill folder that is no folder of the drive's own, when that is
// why, or empty.
void ShowRefused(Program& program, const std::string& detail = {}) {
    program.form1().Timer1.interval = 0;
    UnloadDialogIfLoaded(program);
    program.windows().MessageBox(program.Lang[Text::DriveNotWritable] + (detail.empty() ? "" : "\r" + detail),
                                 MessageStyle::Exclamation, program.Lang[Text::WarningTitle]);
}

// False, after its box, when the drive cannot be filled.
bool Ready(Program& program, SpaceFill& fill) {
    switch (fill.Prepare()) {
        case FillFolder::Readiness::Ready:
        case FillFolder::Readiness::Full:
            return true;
        case FillFolder::Readiness::DriveRefused:
            ShowRefused(program);
            return false;
        case FillFolder::Readiness::FolderRefused:
            ShowRefused(program, fill.folder().path());
            return false;
        case FillFolder::Readiness::Failed:
            program.form1().Timer1.interval = 0;
            UnloadDialogIfLoaded(program);
            ShowWipeFailure(program, fill.folder().failure(), fill.folder().path());
            return false;
    }
    return false;
}

}  // namespace

void WipeSpace(Program& program, const std::string& drive) {
    Form1& form = program.form1();
    form.ElapsedHours = form.ElapsedMinutes = form.ElapsedSeconds = 0;
    form.ElapsedTicks = 0;
    form.WrittenKb = 0;
    form.FileKb = 0;
    const int chosen = form.Combo1.listIndex;
    // A method that cannot fill free space (the command refuses it first) fills as method 0.
    const int method = MethodOf(chosen).freeSpaceCycle.empty() ? 0 : chosen;

    SpaceFill fill(program, drive, method);
    if (!Ready(program, fill)) return;
    form.Timer1.interval = kTickInterval;
    StartStatistics(program);
    ShowStatisticsLabels(program.dialog());

    bool finished = fill.Run();
    // Fill data that did not reach the disk was not written: such a run does not end as completed.
    if (!fill.CloseFile()) finished = false;
    if (!finished) {
        // The drive is never left full, also when the run ends on a refused write.
        (void)fill.CleanUp();
        ShowRefused(program);
        return;
    }
    if (program.CancelFlag == 0) ShowFilled(program);
    program.windows().Yield();
    const bool released = fill.CleanUp();
    program.windows().Yield();
    form.Timer1.interval = 0;

    if (program.CancelFlag != 0) {
        program.windows().MessageBox(program.Lang[Text::Cancelled], MessageStyle::Information,
                                     program.Lang[Text::CancelledTitle]);
    } else if (released) {
        (void)UpdateElapsed(program);
        EndCompletedRun(program, [&] {
            program.windows().MessageBox(ElapsedText(program), MessageStyle::Information,
                                         program.Lang[Text::FinishedTitle]);
        });
    }
    UnloadDialogIfLoaded(program);
    form.Show();
}

}  // namespace scorvane
