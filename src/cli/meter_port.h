#pragma once
// Where the simulated meter's bytes go: a new pseudo-terminal (whose other
// side a logger opens like a serial port) or a device the user names (a real
// serial port wired to the logger's, a FIFO, a file). A terminal is set raw,
// 2400 baud 8N1, so no byte is changed on the way. Writes never wait: bytes
// nobody reads are dropped, as on a line with no listener.

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "base/unique_fd.h"
#include "link/pseudo_terminal.h"

namespace ql::cli {

class MeterPort {
 public:
  MeterPort() = default;
  MeterPort(const MeterPort&) = delete;
  MeterPort& operator=(const MeterPort&) = delete;

  // Creates a pseudo-terminal. REQUIRES: nothing open yet.
  Status OpenPseudoTerminal();
  // Opens `path` for writing. REQUIRES: nothing open yet.
  Status OpenDevice(const std::string& path);

  // The path a logger opens: the pseudo-terminal's slave side, or the
  // device given.
  const std::string& Path() const { return path_; }

  // Writes as much of `bytes` as the other side takes now. Returns false iff
  // the output failed for good (the device went away).
  [[nodiscard]] bool Write(const std::vector<std::uint8_t>& bytes);
  // True iff a logger has the pseudo-terminal open as a serial line: the
  // link takes its device exclusively. False for a device given by path.
  bool PeerOpened() const;
  // Raises or lowers the line the logger sees as carrier detect (DTR of a
  // crossed cable). Ignored where there is no such line.
  void SetCarrier(bool on);

 private:
  // Where the bytes are written: the pseudo-terminal's master side or the
  // device.
  int Out() const { return device_.Valid() ? device_.Get() : pty_.MasterFd(); }

  PseudoTerminal pty_;
  UniqueFd slave_;  // the pseudo-terminal's slave side, held open so its
                    // settings stay and a logger's close is no hang-up
  UniqueFd device_;
  std::string path_;
};

}  // namespace ql::cli
