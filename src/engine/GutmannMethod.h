#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/PassPattern.h"

namespace scorvane {

class Program;

inline constexpr int kGutmannPasses = 35;

enum class GutmannResult { Failed = -1, Stopped = 0, Done = 1 };

// Overwrites the whole open file `path` by Gutmann's 35 passes, showing the progress after each. Stops after
// the pass during which CancelFlag became 1, or within it at the first block after a stop seen at a yield of
// its own. A failure is reported here, once, naming `path`, and the file is left as it is; CancelFlag stays
// as it was, so that a run goes on with its next item.
GutmannResult WipeGutmann(Program& program, FileHandle file, const std::string& path, const std::string& displayName);
// The bytes of pass `pass` (1 to 35) over a file of `length` bytes, from its first byte.
std::unique_ptr<PassPattern> GutmannPattern(Program& program, int pass, std::int64_t length);
// Writes `length` bytes of `pattern` from the open file's first byte, flushed to the disk, yielding before
// and after, and within a long write as the windows need (a stop then ends the write, flushed). A failure
// is returned, for the caller to report; nothing is written after it.
Result<> WriteToFile(Program& program, FileHandle file, std::int64_t length, PassPattern& pattern);
// "Wiping: ", the name, CR, the percentage of the passes done, "% (", Lang[Text::PassLabel], " ", pass, ")"; the bar
// at pass / total of its width.
void ShowGutmannProgress(Program& program, int pass, const std::string& displayName, int total);

}  // namespace scorvane
