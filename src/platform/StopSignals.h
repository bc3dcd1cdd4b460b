#pragma once

namespace scorvane {

// SIGTERM, SIGINT and SIGHUP taken as requests to stop, so that a run can end as a Cancel does and let
// its fill files go. From the first call on, the first such signal is noted and makes the descriptor
// this gives readable, for an event loop to watch; any further one ends the process at once, as the
// signal would have. A signal that the process was started to ignore stays ignored. -1 when the
// descriptor could not be made (the signals then keep their usual effect).
int CatchStopSignals();
// The signal noted and not yet taken, or 0; the descriptor is read empty.
int TakeStopSignal();
// Ends the process as the signal ends it by default.
[[noreturn]] void EndBySignal(int signal);

}  // namespace scorvane
