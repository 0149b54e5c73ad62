#pragma once
// The command-line tool's stand-in for the window timer: a loop on the
// steady clock that calls a tick every 50 ms until the tick says to stop or
// SIGINT/SIGTERM/SIGHUP arrive. Like a window timer it does not make up ticks it
// missed while the machine was busy.

#include <chrono>
#include <functional>

namespace ql::cli {

// Installs the SIGINT, SIGTERM and SIGHUP handlers that ask the loop to stop.
void InstallStopSignals();
// Returns true iff one of them arrived since InstallStopSignals.
bool StopRequested();

// Calls `tick` at once and then every `period` until it returns false or a
// stop signal arrives.
void RunTicks(const std::function<bool()>& tick,
              std::chrono::steady_clock::duration period = std::chrono::milliseconds(50));

}  // namespace ql::cli
