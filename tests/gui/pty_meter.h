#pragma once
// A simulated meter on a pseudo-terminal for the GUI tests and the tour: the
// program opens the slave side as its serial port, and Send() writes the
// simulator's next frame to the master side.

#include <string>
#include <vector>

#include "sim/frame_sequence.h"
#include "sim/sequence_options.h"
#include "support/pty.h"

namespace ql::test_support {

class PtyMeter {
 public:
  // `words`: a sequence as the simulator's options give it, for example
  // {"--reading", "DC 12.34 V"}.
  explicit PtyMeter(const std::vector<std::string>& words) {
    SequenceOptions options;
    if (!ParseSequenceArgs(words, options).ok()) return;
    if (!FrameSequence::Create(options, sequence_).ok()) return;
    ready_ = true;
  }

  // Returns true iff the pseudo-terminal and the sequence are ready.
  bool ok() const { return ready_ && pty_.ok(); }
  const std::string& SlavePath() const { return pty_.SlavePath(); }

  // Pulls the cable: the program's side of the line sees a hang-up.
  void Unplug() { pty_.PullCable(); }

  // Writes the next slot of the sequence. Returns true iff it went out
  // whole (a full queue while nobody reads is not an error).
  bool Send() {
    const std::vector<std::uint8_t> bytes = sequence_.Next();
    if (bytes.empty() || pty_.MasterFd() < 0) return true;
    return pty_.Send(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }

 private:
  FrameSequence sequence_;
  bool ready_ = false;
  // Raw from the start, so nothing is echoed back while the program has not
  // opened the port yet.
  Pty pty_{{.nonBlocking = true, .raw = true}};
};

}  // namespace ql::test_support
