#pragma once
// Listens on one serial device as the logger opens it (2400 baud 8N1, DTR
// and RTS raised, exclusively) and only reads: counts the meter frames it
// hears and keeps the last one as its display and unit. For "is this the
// meter?" before a device is chosen; nothing is ever written to the port.
// Reads never wait: call Tick every 50 ms or so.

#include <memory>
#include <string>

#include "base/status.h"
#include "decode/lcd_decoder.h"
#include "link/com_qv7300.h"
#include "link/posix_serial_line.h"

namespace ql {

class PortListener {
 public:
  explicit PortListener(std::string devicePath);
  ~PortListener();
  PortListener(const PortListener&) = delete;
  PortListener& operator=(const PortListener&) = delete;

  // Opens the device. On failure the reason names the device.
  Status Open();
  // Takes every frame that has arrived.
  void Tick();
  // Closes the device (also done by the destructor).
  void Close();

  long long Frames() const { return m_frames; }
  // The last frame heard as "DISPLAY UNIT" ("12.34 Vdc"); empty before one.
  const std::string& Last() const { return m_last; }
  // True iff the device went away while listening.
  bool Lost() const { return m_link.LineLost(); }

 private:
  PosixSerialLine m_line;
  CComQV7300 m_link;
  LcdTexts m_texts;  // keeps the function code from frame to frame
  long long m_frames = 0;
  std::string m_last;
};

}  // namespace ql
