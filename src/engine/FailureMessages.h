#pragma once

#include <string>

#include "platform/Result.h"

namespace scorvane {

class Program;

// The failure's description, " (", its number, ")": exclamation box titled Lang[Text::WipingErrorTitle].
void ShowWipeFailure(Program& program, const Failure& failure);
// Shows the failure of a chosen item's wipe (as ShowWipeFailure) and notes the item as remaining, so
// that it is not tried and reported again in the same run.
void ReportRemaining(Program& program, const std::string& path, const Failure& failure);
// A message of its own (text, exclamation, titled Lang[Text::WipingErrorTitle]) for an item left as it is, noted as
// remaining.
void ReportKept(Program& program, const std::string& path, const std::string& text);
// The 35-pass method's own failure box, titled Lang[Text::GutmannErrorTitle]: for 6 the description and
// Lang[Text::GutmannFileTooLarge], for 53 the description alone, else Lang[Text::GutmannErrorNumber], ": ", the number,
// CR and the description.
void ShowGutmannFailure(Program& program, const Failure& failure);

}  // namespace scorvane
