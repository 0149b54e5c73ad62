#pragma once
// A meter on a pseudo-terminal for the tests: the program under test opens
// the slave side as its serial port, the test sends the meter's bytes on the
// master side and pulls the cable by closing it.

#include <termios.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "link/pseudo_terminal.h"

namespace ql::test_support {

class Pty {
 public:
  struct Options {
    bool nonBlocking = false;  // a send the slave side does not take returns at once
    bool raw = false;          // nothing the program writes is echoed back to it
  };

  Pty() : Pty(Options{}) {}
  explicit Pty(Options options) {
    if (!terminal_.Open(options.nonBlocking).ok()) return;
    termios tio{};
    if (options.raw && ::tcgetattr(terminal_.MasterFd(), &tio) == 0) {
      ::cfmakeraw(&tio);
      ::tcsetattr(terminal_.MasterFd(), TCSANOW, &tio);
    }
  }

  // Returns true iff the pair was made.
  bool ok() const { return !terminal_.SlavePath().empty(); }
  const std::string& SlavePath() const { return terminal_.SlavePath(); }
  // The master side, for reading what the program wrote; -1 once pulled.
  int MasterFd() const { return terminal_.MasterFd(); }

  // The meter sends `bytes`. Returns true iff all were written at once.
  bool Send(std::string_view bytes) {
    return MasterFd() >= 0 &&
           ::write(MasterFd(), bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  // The slave side hangs up and its device node goes away.
  void PullCable() { terminal_.CloseMaster(); }

 private:
  PseudoTerminal terminal_;
};

}  // namespace ql::test_support
