#pragma once

#include "platform/Result.h"

namespace scorvane {

// errno mapped once onto the program's failure numbers: a full disk is 61, a missing file 53,
// a refused access 70 (see the table in Failure.cpp).
int FailureNumberFromErrno(int error);
// The number and its description; a refusal whose cause the system names apart (read-only file system,
// file busy, operation not permitted) carries the system's words instead of "Permission denied".
Failure FailureFromErrno(int error);

}  // namespace scorvane
