#include "link/link_status.h"

#include <cstdio>

namespace ql {

namespace {

std::string Count(std::uint64_t value) { return std::to_string(value); }

std::string Age(const std::optional<double>& seconds) {
  if (!seconds) return "none";
  char text[32];
  std::snprintf(text, sizeof text, "%.1fs", *seconds);
  return text;
}

std::string Input(const std::optional<ModemInputs>& modem, bool ModemInputs::*input) {
  if (!modem) return "n/a";
  return (*modem).*input ? "on" : "off";
}

}  // namespace

void FrameAge::Observe(std::uint64_t framesTaken, Clock::time_point now) {
  if (framesTaken == m_frames) return;
  m_frames = framesTaken;
  m_lastFrame = now;
}

std::optional<double> FrameAge::SecondsSince(Clock::time_point now) const {
  if (!m_lastFrame) return std::nullopt;
  return std::chrono::duration<double>(now - *m_lastFrame).count();
}

LinkStatus ReadLinkStatus(const CComQV7300& link, FrameAge& age, FrameAge::Clock::time_point now) {
  age.Observe(link.Counters().framesTaken, now);
  return {link.Counters(), age.SecondsSince(now), link.ReadModemInputs()};
}

std::vector<LinkStatusField> LinkStatusFields(const LinkStatus& status) {
  const LinkCounters& c = status.counters;
  return {
      {"received", "Bytes received", Count(c.bytesReceived)},
      {"frames", "Frames taken", Count(c.framesTaken)},
      {"skipped", "Bytes skipped searching", Count(c.bytesSkipped)},
      {"cut", "Bytes dropped by the backlog cut", Count(c.bytesCut)},
      {"overflowed", "Bytes dropped by overflow", Count(c.bytesOverflowed)},
      {"last-frame", "Since the last frame", Age(status.secondsSinceFrame)},
      {"cd", "Carrier detect (CD)", Input(status.modem, &ModemInputs::cd)},
      {"dsr", "Data set ready (DSR)", Input(status.modem, &ModemInputs::dsr)},
      {"cts", "Clear to send (CTS)", Input(status.modem, &ModemInputs::cts)},
  };
}

std::string LinkStatusLine(const LinkStatus& status) {
  std::string line;
  for (const LinkStatusField& field : LinkStatusFields(status)) {
    if (!line.empty()) line.push_back(' ');
    line += field.key;
    line.push_back('=');
    line += field.value;
  }
  return line;
}

}  // namespace ql
