// quintaline-cli simulate --replay: plays a capture (docs/capture.md) back
// on a line at the pace it was read, or X times faster, so that a logger
// sees the same bytes in the same pieces at the same times as the logger
// that made it.
//
// Each read's bytes go out in one write, half a tick before the read's time:
// they arrived at some moment of the tick before it was read. On a
// pseudo-terminal the time counts from the moment a logger opens it, and
// after the last read the line stays open, silent, until SIGINT/SIGTERM: a
// close would be a hang-up, and the logger would lose what it has not read.

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "capture/capture_reader.h"
#include "cli/args.h"
#include "cli/commands.h"
#include "cli/meter_port.h"
#include "cli/output.h"
#include "cli/run_loop.h"

namespace ql::cli {

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kMinSpeed = 0.01;
constexpr double kMaxSpeed = 1000.0;
// Half the logger's 50 ms tick.
constexpr auto kAheadOfRead = std::chrono::milliseconds(25);
// After a logger took the line, the time its opening takes (the purge of
// what was queued) before the first bytes may go.
constexpr auto kSettle = std::chrono::milliseconds(5);
constexpr auto kPollStep = std::chrono::milliseconds(1);
constexpr auto kSleepStep = std::chrono::milliseconds(10);

// Sleeps until `until`, in steps short enough to see a stop signal soon.
// Returns false iff a stop signal came first.
bool SleepUntil(Clock::time_point until) {
  while (Clock::now() < until) {
    if (StopRequested()) return false;
    std::this_thread::sleep_until(std::min(until, Clock::now() + kSleepStep));
  }
  return !StopRequested();
}

}  // namespace

int RunReplay(const Words& words) {
  Args args;
  args.Flag("--pty");
  args.Value("--device");
  args.Value("--replay");
  args.Value("--speed");
  if (!args.Parse(words)) return UsageError("simulate", args.Error(), kSimulateUsage);
  if (!args.Positionals().empty()) {
    return UsageError("simulate", "--replay takes no SEQUENCE: unexpected " +
                                      args.Positionals().front(),
                      kSimulateUsage);
  }
  if (args.Has("--pty") == args.Has("--device")) {
    return UsageError("simulate", "give one of --pty, --device PATH", kSimulateUsage);
  }
  if (std::string problem = EmptyFileName(args, {"--replay", "--device"}); !problem.empty()) {
    return UsageError("simulate", problem, kSimulateUsage);
  }
  double speed = 1.0;
  if (const auto text = args.Get("--speed")) {
    const auto value = ParseNumber(*text, kMinSpeed, kMaxSpeed);
    if (!value) {
      return UsageError("simulate", "--speed must be from 0.01 to 1000 (1: the real pace)",
                        kSimulateUsage);
    }
    speed = *value;
  }
  Capture capture;
  if (const Status status = ReadCaptureFile(*args.Get("--replay"), capture); !status.ok()) {
    PrintError("quintaline-cli simulate: " + status.reason());
    return kExitFailed;
  }

  InstallStopSignals();
  MeterPort port;
  const bool pty = args.Has("--pty");
  const Status opened = pty ? port.OpenPseudoTerminal() : port.OpenDevice(*args.Get("--device"));
  if (!opened.ok()) {
    PrintError("quintaline-cli simulate: " + opened.reason());
    return kExitFailed;
  }
  PrintLine(port.Path());

  if (pty) {
    while (!port.PeerOpened()) {
      if (!SleepUntil(Clock::now() + kPollStep)) return kExitOk;
    }
  }
  const Clock::time_point zero = Clock::now() + (pty ? kSettle : Clock::duration::zero());
  std::size_t bytes = 0;
  for (const CaptureRead& read : capture.reads) {
    const auto at = std::chrono::duration<double, std::micro>(static_cast<double>(read.atMicros) / speed);
    const auto due = std::max(Clock::duration::zero(),
                              std::chrono::duration_cast<Clock::duration>(at - kAheadOfRead));
    if (!SleepUntil(zero + due)) return kExitOk;
    const auto piece = capture.Bytes(read);
    if (!port.Write(std::vector<std::uint8_t>(piece.begin(), piece.end()))) {
      PrintError("quintaline-cli simulate: " + port.Path() + ": the line went away");
      return kExitFailed;
    }
    bytes += piece.size();
  }
  PrintLine("replayed " + std::to_string(capture.reads.size()) + " reads, " +
            std::to_string(bytes) + " bytes");
  if (pty) {
    while (SleepUntil(Clock::now() + kSleepStep)) {
    }
  }
  return kExitOk;
}

}  // namespace ql::cli
