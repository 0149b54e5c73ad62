#pragma once
// The serial line the meter link reads through: a device opened exclusively,
// set to a fixed line format, with the DTR and RTS outputs and the
// carrier-detect input. The link never writes to the meter, so there is no
// write operation. Implementations: a POSIX termios line (posix_serial_line.h)
// and an in-memory fake for tests.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/status.h"

namespace ql {

// The modem-status inputs of a line that has them.
struct ModemInputs {
  bool cd = false;   // carrier detect
  bool dsr = false;  // data set ready
  bool cts = false;  // clear to send
};

struct LineFormat {
  std::uint32_t baudRate = 2400;
  std::uint8_t byteSize = 8;
  std::uint8_t parity = 0;    // 0 = none
  std::uint8_t stopBits = 0;  // 0 = one stop bit
};

class SerialLine {
 public:
  virtual ~SerialLine() = default;

  // Opens the device that the port name ("COM1" .. "COM4", "\\.\TELNET")
  // stands for, exclusively: a second opener, in this process or another,
  // fails. REQUIRES: !IsOpen().
  virtual Status Open(const std::string& portName) = 0;
  // Opens again, by the same device path and as exclusively, the device of
  // the last successful Open, without looking the port name up again: for a
  // line that was lost because its device went away and may be back. Fails
  // (NotFound) while the device is absent, and never waits for it.
  // REQUIRES: !IsOpen().
  virtual Status Reopen() = 0;
  // Returns true iff the line is open.
  virtual bool IsOpen() const = 0;
  // Sets the line format. Returns true iff the device accepted it.
  [[nodiscard]] virtual bool SetFormat(const LineFormat& format) = 0;
  // Raise or lower an output line. Returns false where the device has no
  // such line (a pseudo-terminal); callers ignore the result.
  virtual bool SetDtr(bool on) = 0;
  virtual bool SetRts(bool on) = 0;
  // Number of bytes waiting to be read, or nullopt once the line is lost
  // (hang-up, device gone).
  [[nodiscard]] virtual std::optional<std::size_t> Queued() = 0;
  // Reads at most `size` of the waiting bytes without waiting for more.
  // Returns the number of bytes read.
  [[nodiscard]] virtual std::size_t Read(std::uint8_t* buffer, std::size_t size) = 0;
  // Discards everything waiting in either direction.
  virtual void Purge() = 0;
  // Returns true iff the carrier-detect input is on; false when it cannot be
  // read.
  virtual bool CarrierDetect() = 0;
  // The modem-status inputs, or nullopt where the device has none (a
  // pseudo-terminal) or the line is closed.
  virtual std::optional<ModemInputs> ReadModemInputs() const = 0;
  // Closes the device, leaving DTR and RTS as they are at that moment.
  virtual void Close() = 0;
};

}  // namespace ql
