#include "engine/GutmannMethod.h"

#include "engine/FailureMessages.h"
#include "engine/PassWriter.h"
#include "engine/WorkPace.h"
#include "model/Program.h"
#include "platform/Text.h"

namespace scorvane {

namespace {
std::vector<std::uint8_t> Cycle(int pass) {
    switch (pass) {
        case 5:
            return {0x55};
        case 6:
            return {0xAA};
        case 7:
        case 26:
            return {0x92, 0x49, 0x24};
        case 8:
        case 27:
            return {0x49, 0x24, 0x92};
        case 9:
        case 28:
            return {0x24, 0x92, 0x49};
        case 29:
            return {0x6D, 0xB6, 0xDB};
        case 30:
            return {0xB6, 0xDB, 0x6D};
        case 31:
            return {0xDB, 0x6D, 0xB6};
        default:
            return {static_cast<std::uint8_t>(0x11 * (pass - 10))};  // passes 10 to 25
    }
}

bool IsRandomPass(int pass) { return pass <= 4 || pass >= 32; }
}  // namespace

std::unique_ptr<PassPattern> GutmannPattern(Program& program, int pass, std::int64_t length) {
    if (IsRandomPass(pass)) return std::make_unique<RandomPattern>(program.random(), ByteRange::AllBytes);
    return std::make_unique<CyclePattern>(Cycle(pass), length);
}

Result<> WriteToFile(Program& program, FileHandle file, std::int64_t length, PassPattern& pattern) {
    program.windows().Yield();
    const PassWrite whole{1, length};
    // A pass over a large file keeps the windows answered, and a stop ends it at the next block.
    WorkPace pace(program);
    bool stopped = false;
    if (auto written = WritePass(program.files(), file, {&whole, 1}, PassBytes{PassKind::Byte, {}, &pattern},
                                 PassPace{{}, [&pace] { return pace.Step(); }}, stopped);
        !written) {
        return written;
    }
    program.windows().Yield();
    return {};
}

void ShowGutmannProgress(Program& program, int pass, const std::string& displayName, int total) {
    Dialog& dialog = program.dialog();
    const std::int64_t percent = std::int64_t{100} * pass / total;
    dialog.Label8.caption = "Wiping: " + displayName + "\r" + Decimal(percent) + "% (" + program.Lang[Text::PassLabel] +
                            " " + Decimal(pass) + ")";
    dialog.ImgBar.width = BarWidth(total, pass);
    dialog.Refresh();
    program.windows().Yield();
}

GutmannResult WipeGutmann(Program& program, FileHandle file, const std::string& path, const std::string& displayName) {
    // A failure is this file's alone: it is reported, the file is kept, and the run goes on with its next item.
    const auto length = program.files().Length(file);
    if (!length) {
        ReportGutmannFailure(program, path, length.failure());
        return GutmannResult::Failed;
    }
    for (int pass = 1; pass <= kGutmannPasses; ++pass) {
        const auto pattern = GutmannPattern(program, pass, length.value());
        if (auto written = WriteToFile(program, file, length.value(), *pattern); !written) {
            ReportRemaining(program, path, written.failure());
            return GutmannResult::Failed;
        }
        if (program.CancelFlag == 1) return GutmannResult::Stopped;
        ShowGutmannProgress(program, pass, displayName, kGutmannPasses);
    }
    return GutmannResult::Done;
}

}  // namespace scorvane
