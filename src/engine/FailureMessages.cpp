#include "engine/FailureMessages.h"

#include "model/Program.h"
#include "platform/Text.h"

namespace scorvane {

void ShowWipeFailure(Program& program, const Failure& failure) {
    program.windows().MessageBox(failure.description + " (" + Decimal(failure.number) + ")", MessageStyle::Exclamation,
                                 program.Lang[28]);
}

void ReportRemaining(Program& program, const std::string& path, const Failure& failure) {
    ShowWipeFailure(program, failure);
    program.Remaining.Add(path);
}

void ReportKept(Program& program, const std::string& path, const std::string& text) {
    program.windows().MessageBox(text, MessageStyle::Exclamation, program.Lang[28]);
    program.Remaining.Add(path);
}

void ShowGutmannFailure(Program& program, const Failure& failure) {
    std::string text;
    if (failure.number == FailureNumber::Overflow) {
        text = failure.description + "\r\r" + program.Lang[66];
    } else if (failure.number == FailureNumber::FileNotFound) {
        text = failure.description;
    } else {
        text = program.Lang[68] + ": " + Decimal(failure.number) + "\r" + failure.description;
    }
    program.windows().MessageBox(text, MessageStyle::Exclamation, program.Lang[67]);
}

}  // namespace scorvane
