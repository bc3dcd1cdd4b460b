#include "engine/FailureMessages.h"

#include "model/Program.h"
#include "platform/Text.h"

namespace scorvane {

namespace {
// How the box and the closing message name a file found under another name than the one chosen.
std::string BothNames(const std::string& path, const std::string& newPath) { return path + " \u2192 " + newPath; }

// The kinds of the kept items' reasons lie below every failure number.
int KindOfReason(std::size_t text) { return -1 - static_cast<int>(text); }

void Note(Program& program, const std::string& path, const std::string& named, const Failure& failure) {
    if (program.Remaining.FirstOfKind(failure.number)) ShowWipeFailure(program, failure, named);
    program.Remaining.Add(path, named);
}
}  // namespace

void ShowWipeFailure(Program& program, const Failure& failure, const std::string& item) {
    program.windows().MessageBox(
        failure.description + " (" + Decimal(failure.number) + ")" + (item.empty() ? "" : "\r" + item),
        MessageStyle::Exclamation, program.Lang[Text::WipingErrorTitle]);
}

void ReportRemaining(Program& program, const std::string& path, const Failure& failure) {
    Note(program, path, path, failure);
}

void ReportRenamed(Program& program, const std::string& path, const std::string& newPath, const Failure& failure) {
    Note(program, newPath, BothNames(path, newPath), failure);
}

void ReportKept(Program& program, const std::string& path, std::size_t text) {
    if (program.Remaining.FirstOfKind(KindOfReason(text))) {
        program.windows().MessageBox(program.Lang[text] + "\r" + path, MessageStyle::Exclamation,
                                     program.Lang[Text::WipingErrorTitle]);
    }
    program.Remaining.Add(path);
}

void ReportGutmannFailure(Program& program, const std::string& path, const Failure& failure) {
    if (program.Remaining.FirstOfKind(failure.number)) {
        std::string text;
        if (failure.number == FailureNumber::Overflow) {
            text = failure.description + "\r\r" + program.Lang[Text::GutmannFileTooLarge];
        } else if (failure.number == FailureNumber::FileNotFound) {
            text = failure.description;
        } else {
            text = program.Lang[Text::GutmannErrorNumber] + ": " + Decimal(failure.number) + "\r" + failure.description;
        }
        program.windows().MessageBox(text + "\r" + path, MessageStyle::Exclamation,
                                     program.Lang[Text::GutmannErrorTitle]);
    }
    program.Remaining.Add(path);
}

}  // namespace scorvane
