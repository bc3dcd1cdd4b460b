#pragma once

#include <cstdint>

#include "model/FixedPoint.h"

namespace scorvane {

class Program;

// Fills the drive list with the platform's drives and selects the one that holds the user's home.
void FillDriveList(Program& program);
// The free space of the selected drive into ProgressTotal: bytes / 10,000,000, to four decimals.
void Drive1_Change(Program& program);
// Bytes as the progress denominator: bytes / 10,000,000 rounded to the nearest ten-thousandth.
FixedPoint4 FreeSpaceTotal(std::uint64_t bytes);

}  // namespace scorvane
