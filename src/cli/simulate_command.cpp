// quintaline-cli simulate: a meter on a line. Sends the frames of a
// sequence (sim/sequence_options.h gives the words) at a meter-like pace to
// a new pseudo-terminal, whose path is the first line on stdout, or to a
// device. Runs until SIGINT/SIGTERM (exit 0) or until --frames frames were
// sent. With --replay it plays a capture instead (replay_command.cpp).

#include <algorithm>
#include <chrono>
#include <csignal>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/meter_port.h"
#include "cli/output.h"
#include "cli/run_loop.h"
#include "sim/frame_sequence.h"
#include "sim/sequence_options.h"

namespace ql::cli {

namespace {

constexpr double kDefaultRate = 4.0;  // frames a second
constexpr double kMaxRate = 1000.0;
constexpr long long kMaxFrames = 1'000'000'000'000LL;

}  // namespace

int RunSimulate(const Words& words) {
  if (std::find(words.begin(), words.end(), "--replay") != words.end()) return RunReplay(words);
  SequenceOptions sequenceOptions;
  std::vector<std::string> rest;
  if (const Status status = ParseSequenceArgs(words, sequenceOptions, &rest); !status.ok()) {
    return UsageError("simulate", status.reason(), kSimulateUsage);
  }
  Args args;
  args.Flag("--pty");
  args.Value("--device");
  args.Value("--rate");
  args.Value("--frames");
  if (!args.Parse(rest)) return UsageError("simulate", args.Error(), kSimulateUsage);
  if (!args.Positionals().empty()) {
    return UsageError("simulate", "unexpected argument " + args.Positionals().front(),
                      kSimulateUsage);
  }
  if (args.Has("--pty") == args.Has("--device")) {
    return UsageError("simulate", "give one of --pty, --device PATH", kSimulateUsage);
  }
  double rate = kDefaultRate;
  if (const auto text = args.Get("--rate")) {
    const auto value = ParseNumber(*text, 0.01, kMaxRate);
    if (!value)
      return UsageError("simulate", "--rate must be from 0.01 to 1000 frames a second",
                        kSimulateUsage);
    rate = *value;
  }
  long long frames = -1;  // until stopped
  if (const auto text = args.Get("--frames")) {
    const auto count = ParseInteger(*text, 1, kMaxFrames);
    if (!count) {
      return UsageError("simulate",
                        "--frames must be a whole number from 1 to " + std::to_string(kMaxFrames),
                        kSimulateUsage);
    }
    frames = *count;
  }
  FrameSequence sequence;
  if (const Status status = FrameSequence::Create(sequenceOptions, sequence); !status.ok()) {
    return UsageError("simulate", status.reason(), kSimulateUsage);
  }

  InstallStopSignals();
  MeterPort port;
  const Status opened =
      args.Has("--pty") ? port.OpenPseudoTerminal() : port.OpenDevice(*args.Get("--device"));
  if (!opened.ok()) {
    PrintError("quintaline-cli simulate: " + opened.reason());
    return kExitFailed;
  }
  PrintLine(port.Path());

  long long sent = 0;
  bool failed = false;
  bool carrier = false;
  const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(1.0 / rate));
  RunTicks(
      [&] {
        const std::vector<std::uint8_t> bytes = sequence.Next();
        if (bytes.empty()) return true;  // a silent slot
        if (sequence.CarrierDetect() != carrier) {
          carrier = sequence.CarrierDetect();
          port.SetCarrier(carrier);
        }
        if (!port.Write(bytes)) {
          failed = true;
          return false;
        }
        return ++sent != frames;
      },
      period);
  if (failed) {
    PrintError("quintaline-cli simulate: " + port.Path() + ": the line went away");
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace ql::cli
