#include "engine/FailureMessages.h"

#include "model/Program.h"
#include "platform/Text.h"

namespace scorvane {

void ShowWipeFailure(Program& program, const Failure& failure) {
    program.windows().MessageBox(failure.description + " (" + Decimal(failure.number) + ")", MessageStyle::Exclamation,
                                 program.Lang[Text::WipingErrorTitle]);
}

void ReportRemaining(Program& program, const std::string& path, const Failure& failure) {
    ShowWipeFailure(program, failure);
    program.Remaining.Add(path);
}

void ReportKept(Program& program, const std::string& path, const std::string& text) {
    program.windows().MessageBox(text, MessageStyle::Exclamation, program.Lang[Text::WipingErrorTitle]);
    program.Remaining.Add(path);
}

void ShowGutmannFailure(Program& program, const Failure& failure) {
    std::string text;
    if (failure.number == FailureNumber::Overflow) {
        text = failure.description + "\r\r" + program.Lang[Text::GutmannFileTooLarge];
    } else if (failure.number == FailureNumber::FileNotFound) {
        text = failure.description;
    } else {
        text = program.Lang[Text::GutmannErrorNumber] + ": " + Decimal(failure.number) + "\r" + failure.description;
    }
    program.windows().MessageBox(text, MessageStyle::Exclamation, program.Lang[Text::GutmannErrorTitle]);
}

}  // namespace scorvane
