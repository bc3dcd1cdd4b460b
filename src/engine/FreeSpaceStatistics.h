#pragma once

#include <cstdint>
#include <string>

namespace scorvane {

class Program;

// The statistics of a free-space wipe: elapsed time, speed and time left, each with its shadow label.
// The time is the monotonic clock's, so a late or missed tick never skews the figures.

// The elapsed counters to 0 and the clock started; the progress window must be loaded.
void StartStatistics(Program& program);
// ElapsedHours, ElapsedMinutes and ElapsedSeconds from the clock; returns the elapsed seconds.
double UpdateElapsed(Program& program);

// The tick of Form1.Timer1 (every 600 ms during the fill): the three statistics lines of the progress
// window and their shadows, then a yield. Before the first block is counted, or with an unknown free
// space (0), the speed and the time left are left as they are. A tick never loads the progress window.
void Timer1_Timer(Program& program);

// Digits grouped by threes with the user's thousands separator; 0 is the empty text ("###,###,###").
std::string DigitGroups(std::int64_t value);
// At least one digit, the user's decimal separator, exactly one decimal ("##0.0").
std::string OneDecimal(double value);
// Decimal text with a leading blank for a non-negative number ("-3" for a negative one).
std::string SignedDecimal(std::int64_t value);

}  // namespace scorvane
