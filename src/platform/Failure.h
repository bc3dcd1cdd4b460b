#pragma once

#include "platform/Result.h"

namespace scorvane {

// errno mapped once onto the program's failure numbers: a full disk is 61, a missing file 53,
// a refused access 70 (see the table in Failure.cpp).
int FailureNumberFromErrno(int error);
Failure FailureFromErrno(int error);

}  // namespace scorvane
