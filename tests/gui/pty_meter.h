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

#include "sim/frame_sequence.h"
#include "sim/sequence_options.h"

namespace ql::test_support {

class PtyMeter {
 public:
  // `words`: a sequence as the simulator's options give it, for example
  // {"--reading", "DC 12.34 V"}.
  explicit PtyMeter(const std::vector<std::string>& words) {
    SequenceOptions options;
    if (!ParseSequenceArgs(words, options).ok()) return;
    if (!FrameSequence::Create(options, sequence_).ok()) return;
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    const char* name = ::ptsname(master_);
    if (!name) return;
    slave_ = name;
    // Raw from the start, so nothing is echoed back while the program has
    // not opened the port yet.
    termios tio{};
    if (::tcgetattr(master_, &tio) == 0) {
      ::cfmakeraw(&tio);
      ::tcsetattr(master_, TCSANOW, &tio);
    }
  }
  ~PtyMeter() {
    if (master_ >= 0) ::close(master_);
  }
  PtyMeter(const PtyMeter&) = delete;
  PtyMeter& operator=(const PtyMeter&) = delete;

  // Returns true iff the pseudo-terminal and the sequence are ready.
  bool ok() const { return master_ >= 0 && !slave_.empty(); }
  const std::string& SlavePath() const { return slave_; }

  // Pulls the cable: the program's side of the line sees a hang-up.
  void Unplug() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  // Writes the next slot of the sequence. Returns true iff it went out
  // whole (a full queue while nobody reads is not an error).
  bool Send() {
    const std::vector<std::uint8_t> bytes = sequence_.Next();
    if (bytes.empty() || master_ < 0) return true;
    return ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

 private:
  FrameSequence sequence_;
  int master_ = -1;
  std::string slave_;
};

}  // namespace ql::test_support
