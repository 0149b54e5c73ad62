#pragma once
// A simulated meter on a pseudo-terminal for the GUI tests and the tour: the
// program opens the slave side as its serial port, and Send() writes the
// simulator's next frame to the master side.

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "base/unique_fd.h"
#include "sim/frame_sequence.h"
#include "sim/sequence_options.h"

namespace ql::testing {

class PtyMeter {
 public:
  // `words`: a sequence as the simulator's options give it, for example
  // {"--reading", "DC 12.34 V"}.
  explicit PtyMeter(const std::vector<std::string>& words) {
    SequenceOptions options;
    if (!ParseSequenceArgs(words, options).ok()) return;
    if (!FrameSequence::Create(options, sequence_).ok()) return;
    master_ = UniqueFd(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    const int master = master_.Get();
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
    const char* name = ::ptsname(master);
    if (!name) return;
    slave_ = name;
    // Raw from the start, so nothing is echoed back while the program has
    // not opened the port yet.
    termios tio{};
    if (::tcgetattr(master, &tio) == 0) {
      ::cfmakeraw(&tio);
      ::tcsetattr(master, TCSANOW, &tio);
    }
  }

  // Returns true iff the pseudo-terminal and the sequence are ready.
  bool ok() const { return master_.Valid() && !slave_.empty(); }
  const std::string& SlavePath() const { return slave_; }

  // Pulls the cable: the program's side of the line sees a hang-up.
  void Unplug() { master_.Reset(); }

  // Writes the next slot of the sequence. Returns true iff it went out
  // whole (a full queue while nobody reads is not an error).
  bool Send() {
    const std::vector<std::uint8_t> bytes = sequence_.Next();
    if (bytes.empty() || !master_.Valid()) return true;
    return ::write(master_.Get(), bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

 private:
  FrameSequence sequence_;
  UniqueFd master_;
  std::string slave_;
};

}  // namespace ql::testing
