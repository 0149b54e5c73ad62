#pragma once
// A simulated meter: yields, slot by slot, the bytes the meter sends for one
// frame (a frame, possibly preceded by line noise, or nothing during a
// silent gap). Pure: no clock and no I/O; the caller decides how long a
// slot lasts and where the bytes go. The same options and seed always give
// the same bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "sim/meter_words.h"
#include "sim/sequence_options.h"

namespace ql {

class FrameSequence {
 public:
  // A sequence that stays silent.
  FrameSequence() = default;

  // Checks `options` and parses its readings and bytes into `out`. Returns
  // ok, or Invalid with the reason (no source, a reading that cannot be
  // shown, ramp ends that differ in function, unit or decimals, bad hex,
  // a count out of range); `out` is then unchanged.
  static Status Create(const SequenceOptions& options, FrameSequence& out);

  // The bytes of the next slot; empty for a silent slot.
  std::vector<std::uint8_t> Next();

  // Returns true iff the meter holds its carrier-detect line on for the
  // frame of the last non-silent slot (degrees Fahrenheit).
  bool CarrierDetect() const { return carrier_; }

 private:
  struct Frame {
    std::string bytes;
    bool carrier = false;
  };

  Frame Generate();
  MeterReading Interpolated(std::int64_t index) const;
  MeterReading Walked(std::int64_t index);
  std::uint64_t Random();
  void AddNoise(std::size_t frameBytes, std::vector<std::uint8_t>& out);

  SequenceOptions options_;
  std::vector<MeterReading> readings_;  // parsed readings; FROM, TO for ramp and walk
  std::vector<std::string> raw_;        // parsed hex byte strings
  std::int64_t frameIndex_ = 0;         // frames generated so far
  std::int64_t walkCounts_ = 0;         // current signed counts of the walk
  Frame current_;                       // the frame being held
  int holdLeft_ = 0;                    // slots the current frame still goes out in
  int slotsSinceGap_ = 0;               // frame slots since the last gap
  int gapLeft_ = 0;                     // silent slots still due
  std::uint64_t rng_ = 0;               // state of the generator
  bool carrier_ = false;
};

}  // namespace ql
