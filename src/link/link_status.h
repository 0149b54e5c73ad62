#pragma once
// A meter link's health as a user reads it: what the link received and
// dropped, how long ago the last frame came and the modem-status inputs.
// The command line prints it as one line of name=value fields, the desktop
// shows the same fields in a window; both take them from LinkStatusFields.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/com_qv7300.h"
#include "link/serial_line.h"

namespace ql {

struct LinkStatus {
  LinkCounters counters;
  std::optional<double> secondsSinceFrame;  // nullopt until the first frame
  std::optional<ModemInputs> modem;         // nullopt where the device has none
};

// Remembers when a link last took a frame, from the frame count it is shown
// on every tick (the link itself keeps no clock).
class FrameAge {
 public:
  using Clock = std::chrono::steady_clock;

  // Notes a frame at `now` iff `framesTaken` changed since the last call.
  void Observe(std::uint64_t framesTaken, Clock::time_point now);
  // Seconds from the last frame noted to `now`; nullopt before the first.
  std::optional<double> SecondsSince(Clock::time_point now) const;

 private:
  std::uint64_t m_frames = 0;                    // the count last observed
  std::optional<Clock::time_point> m_lastFrame;  // when it last changed
};

// The status of `link` at `now`, with `age` brought up to date first.
LinkStatus ReadLinkStatus(const CComQV7300& link, FrameAge& age, FrameAge::Clock::time_point now);

struct LinkStatusField {
  const char* key;    // the name on the command line, e.g. "received"
  const char* label;  // the name in a window, e.g. "Bytes received"
  std::string value;  // "1234", "0.2s", "none", "on", "off", "n/a"
};

// The fields in their fixed order: received, frames, skipped, cut,
// overflowed, last-frame, cd, dsr, cts.
std::vector<LinkStatusField> LinkStatusFields(const LinkStatus& status);
// The fields as "key=value" words joined by single blanks.
std::string LinkStatusLine(const LinkStatus& status);

}  // namespace ql
