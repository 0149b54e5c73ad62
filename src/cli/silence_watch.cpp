#include "cli/silence_watch.h"

#include "cli/output.h"

namespace ql::cli {

void SilenceWatch::Check(std::uint64_t framesTaken, Clock::time_point now) {
  if (framesTaken != m_frames) {
    m_frames = framesTaken;
    m_lastFrame = now;
    if (m_quiet) PrintError("frames heard again on " + m_device);
    m_quiet = false;
    return;
  }
  if (!m_quiet && now - m_lastFrame >= kQuietLimit) {
    m_quiet = true;
    PrintError("no frames heard on " + m_device + ": is the meter on and its PC output enabled?");
  }
}

}  // namespace ql::cli
