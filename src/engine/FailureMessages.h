#pragma once

#include <cstddef>
#include <string>

#include "platform/Result.h"

namespace scorvane {

class Program;

// The boxes of a wipe's failures. Each names the item it concerns on its last line. Within one run a box
// is shown for the first failure of each number only (Program::Remaining): a later one adds its item to
// what remains without a box, so that the run goes on to its next yield and the closing message names it.

// The failure's description, " (", its number, ")", CR, the item: exclamation box titled
// Lang[Text::WipingErrorTitle], shown whatever was shown before. Without an item (a failure that concerns
// none, such as the shutdown's) the box has no second line.
void ShowWipeFailure(Program& program, const Failure& failure, const std::string& item = {});
// The failure of a chosen item's wipe: shown as ShowWipeFailure when it is the first of its number in the
// run; the item is noted as remaining either way, so that it is not tried again in the run.
void ReportRemaining(Program& program, const std::string& path, const Failure& failure);
// The same for a file that the failure met after it was given its new name: the box and the closing
// message name it by both names.
void ReportRenamed(Program& program, const std::string& path, const std::string& newPath, const Failure& failure);
// An item left as it is for the reason Lang[text] gives: Lang[text], CR, the path (exclamation, titled
// Lang[Text::WipingErrorTitle]), once per reason in a run; the item is noted as remaining.
void ReportKept(Program& program, const std::string& path, std::size_t text);
// The 35-pass method's own failure box, titled Lang[Text::GutmannErrorTitle]: for 6 the description and
// Lang[Text::GutmannFileTooLarge], for 53 the description alone, else Lang[Text::GutmannErrorNumber], ": ", the
// number, CR and the description; then CR and the path. Shown and noted as ReportRemaining does.
void ReportGutmannFailure(Program& program, const std::string& path, const Failure& failure);

}  // namespace scorvane
