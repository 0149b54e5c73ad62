#pragma once
// What a simulated meter sends, slot after slot: one source of frames and
// the disturbances laid over it. Filled from command-line words by
// ParseSequenceArgs, or directly by a program.
//
//   source (exactly one):
//     --reading WORDS          the same reading in every frame
//     --ramp FROM TO           a sawtooth: --steps frames from FROM to TO,
//                              then again from FROM
//     --walk FROM TO           a random walk between FROM and TO, starting
//                              at FROM; each step moves at most
//                              |TO - FROM| / --steps (at least one digit)
//     --cycle "W1;W2;..."      the readings in turn (range and function
//                              changes)
//     --hex "HEX;HEX;..."      raw bytes, in turn (blanks ignored)
//   shaping:
//     --steps N                ramp and walk resolution (default 10)
//     --hold N                 every frame goes out in N slots in a row
//     --overload-every N       every Nth frame shows OL instead
//     --gap-every N            after every N slots with a frame ...
//     --gap-frames M           ... M silent slots
//     --noise R                R garbage bytes per frame byte on average,
//                              sent before the frame (0 .. 10)
//     --seed S                 seed of the walk and the noise (default 1)
//
// FROM and TO of a ramp or walk share function, unit and number of
// decimals; WORDS are readings as meter_words.h describes them.

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"

namespace ql {

struct SequenceOptions {
  enum class Source { kNone, kReading, kRamp, kWalk, kCycle, kHex };

  Source source = Source::kNone;
  std::vector<std::string> readings;   // kReading: one; kRamp, kWalk: FROM, TO; kCycle: all
  std::vector<std::string> hexFrames;  // kHex: the byte strings in hexadecimal
  int steps = 10;                      // ramp: frames per sweep (>= 2); walk: resolution (>= 1)
  int hold = 1;                        // slots per frame (>= 1)
  int overloadEvery = 0;               // every Nth frame shows OL; 0: never
  int gapEvery = 0;                    // slots with a frame between gaps; 0: no gaps
  int gapFrames = 0;                   // silent slots per gap
  double noise = 0.0;                  // garbage bytes per frame byte, 0 .. 10
  std::uint64_t seed = 1;              // the walk and the noise repeat for one seed
};

// Reads the options above from `args` (the words after the command).
// Words this syntax does not know go to `rest` in their order when `rest` is
// given, else they are an error. Returns Invalid with a reason for a missing
// or malformed value, a second source, or no source at all. The readings
// themselves are checked by FrameSequence::Create.
Status ParseSequenceArgs(const std::vector<std::string>& args, SequenceOptions& options,
                         std::vector<std::string>* rest = nullptr);

}  // namespace ql
