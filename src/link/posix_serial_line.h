#pragma once
// The serial line on a POSIX terminal device (a serial port, a USB-serial
// adapter or a pseudo-terminal), through termios.
//
// Open takes the device exclusively: an advisory lock taken at once after
// opening (it holds against every process, root included) and the terminal's
// exclusive mode. A second opener fails with a Busy status and is closed
// without touching the line format or the modem lines. Open leaves the
// format alone; SetFormat sets the line raw with the given format, the
// receiver on, modem control ignored for input and hang-up-on-close cleared,
// so that closing leaves DTR and RTS as they are. Reads never wait. A hang-up (the device went away, the other side of
// a pseudo-terminal closed) makes Queued return nullopt from then on.
//
// Devices without modem lines (pseudo-terminals) accept no DTR/RTS changes
// and report the carrier off. Status reasons name the device path and the
// system's error text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <termios.h>

#include "base/unique_fd.h"
#include "link/device_map.h"
#include "link/serial_line.h"

namespace ql {

class PosixSerialLine final : public SerialLine {
 public:
  explicit PosixSerialLine(DeviceMap deviceMap);
  ~PosixSerialLine() override;
  PosixSerialLine(const PosixSerialLine&) = delete;
  PosixSerialLine& operator=(const PosixSerialLine&) = delete;

  Status Open(const std::string& portName) override;
  // A pseudo-terminal opened by its own name (/dev/pts/N) is not reopened
  // (Invalid): its number goes to the next pseudo-terminal made. A link to
  // one, as a bridge makes, is.
  Status Reopen() override;
  bool IsOpen() const override { return m_fd.Valid(); }
  bool SetFormat(const LineFormat& format) override;
  bool SetDtr(bool on) override;
  bool SetRts(bool on) override;
  std::optional<std::size_t> Queued() override;
  std::size_t Read(std::uint8_t* buffer, std::size_t size) override;
  void Purge() override;
  bool CarrierDetect() override;
  std::optional<ModemInputs> ReadModemInputs() const override;
  void Close() override;

  // The device path of the last Open, successful or not.
  const std::string& DevicePath() const { return m_path; }

 private:
  // Opens m_path as Open describes.
  Status OpenPath();
  bool SetModemLine(int line, bool on);

  DeviceMap m_deviceMap;
  std::string m_path;
  std::string m_opened;  // the path of the last successful Open, which Reopen opens
  UniqueFd m_fd;        // the open device, if any
  bool m_lost = false;  // a hang-up was seen since Open
  std::optional<termios> m_before;  // the terminal's settings before Open, put back at Close
};

}  // namespace ql
