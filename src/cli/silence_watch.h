#pragma once
// Tells a user at a terminal that the meter says nothing: a wrong port, a
// meter switched off or its PC output not enabled look alike from here, a run
// that never records. Fed the link's count of frames taken on every tick.

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>

namespace ql::cli {

class SilenceWatch {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kQuietLimit = std::chrono::seconds(5);

  SilenceWatch(std::string device, Clock::time_point start)
      : m_device(std::move(device)), m_lastFrame(start) {}

  // Prints on stderr once when no frame came for kQuietLimit, and once when
  // frames come again.
  void Check(std::uint64_t framesTaken, Clock::time_point now);

 private:
  std::string m_device;
  std::uint64_t m_frames = 0;
  Clock::time_point m_lastFrame;
  bool m_quiet = false;
};

}  // namespace ql::cli
