#pragma once
// Whether the meter of a running run can be heard: a pulled cable stays
// "No meter" until the run ends, and a line that is open but quiet (meter
// asleep, switched off, PC output not enabled) is "meter silent" once more
// than two sampling periods passed without a frame. The face shows it in a
// status-bar indicator of its own, apart from the message pane that hover
// tips overwrite.

#include <cstdint>

namespace ql {

enum class MeterState {
  kHeard,   // nothing to tell: idle, or frames arriving
  kNoMeter, // the line was lost during this run
  kSilent,  // recording, and no frame for more than two sampling periods
};

// The indicator's text for `state`; empty for kHeard.
constexpr const char* MeterStateText(MeterState state) {
  switch (state) {
    case MeterState::kNoMeter:
      return "No meter";
    case MeterState::kSilent:
      return "meter silent";
    case MeterState::kHeard:
      break;
  }
  return "";
}

// Counts the ticks since the link last took a frame.
class MeterWatch {
 public:
  // A run starts: the quiet time counts from now.
  void Restart(std::uint64_t framesTaken) {
    m_frames = framesTaken;
    m_quietTicks = 0;
  }
  // One tick passed; `framesTaken` is the link's count so far.
  void Observe(std::uint64_t framesTaken) {
    if (framesTaken != m_frames) {
      m_frames = framesTaken;
      m_quietTicks = 0;
    } else if (m_quietTicks < kQuietCap) {
      ++m_quietTicks;
    }
  }
  // True iff more than two periods of `periodTicks` ticks passed quietly.
  bool Silent(int periodTicks) const {
    return m_quietTicks > 2 * static_cast<std::int64_t>(periodTicks);
  }

 private:
  // Far above any period; keeps a run left for years from wrapping.
  static constexpr std::int64_t kQuietCap = std::int64_t{1} << 40;
  std::uint64_t m_frames = 0;
  std::int64_t m_quietTicks = 0;
};

}  // namespace ql
