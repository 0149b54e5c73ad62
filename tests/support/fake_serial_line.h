#pragma once
// An in-memory serial line for tests of the meter link. Tests queue the bytes
// the meter "sends" and read back what the link did to the line: every call
// is recorded in order ("open COM1", "format 2400 8 0 0", "dtr 1", "rts 1",
// "purge", "close"), and the DTR/RTS states are kept (nullopt: never set).
// The seam has no write operation, so nothing can ever be sent to the meter.
//
// Knobs: the Status the next Open or Reopen returns (absent port, busy, denied), a
// format the device refuses, modem lines missing (as on a pseudo-terminal),
// the modem-status inputs, a lost line, and a cap on how many bytes one
// Queued() reports, like a driver's input queue.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/serial_line.h"

namespace ql::test_support {

class FakeSerialLine : public SerialLine {
 public:
  // Knobs.
  Status openStatus;           // returned by the next Open and Reopen calls
  bool formatAccepted = true;  // SetFormat's answer
  bool hasModemLines = true;   // false: SetDtr/SetRts fail, as on a pty
  bool carrier = false;        // the carrier-detect input
  bool dsr = false;            // the data-set-ready input
  bool cts = false;            // the clear-to-send input
  bool lost = false;           // Queued() reports the line lost
  std::size_t queueCap = 0;    // most bytes one Queued() reports; 0: no cap

  // What the link did.
  std::vector<std::string> calls;
  std::optional<bool> dtr;
  std::optional<bool> rts;
  std::optional<LineFormat> format;
  std::string openedName;
  int queuedCalls = 0;
  std::size_t bytesRead = 0;

  // Queues bytes as if the meter had sent them.
  void Send(std::string_view bytes) { pending_.insert(pending_.end(), bytes.begin(), bytes.end()); }
  void Send(const std::vector<std::uint8_t>& bytes) {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
  }
  std::size_t Pending() const { return pending_.size(); }
  // The device goes away, as a pulled adapter does: the line is lost and
  // neither Open nor Reopen finds it.
  void Unplug() {
    lost = true;
    openStatus = Status::NotFound(openedName + ": No such file or directory");
  }
  // It is back under the same name; the next Open or Reopen finds it.
  void PlugBack() { openStatus = Status::Ok(); }
  // Forgets the recorded calls, keeping the line state.
  void ClearCalls() { calls.clear(); }

  Status Open(const std::string& portName) override {
    calls.push_back("open " + portName);
    openedName = portName;
    if (open_) return Status::Busy(portName + ": already open");
    if (!openStatus.ok()) return openStatus;
    open_ = true;
    return Status::Ok();
  }
  // A device that is back is no longer lost.
  Status Reopen() override {
    calls.push_back("reopen " + openedName);
    if (open_) return Status::Busy(openedName + ": already open");
    if (!openStatus.ok()) return openStatus;
    open_ = true;
    lost = false;
    return Status::Ok();
  }
  bool IsOpen() const override { return open_; }
  bool SetFormat(const LineFormat& f) override {
    calls.push_back("format " + std::to_string(f.baudRate) + " " + std::to_string(f.byteSize) +
                    " " + std::to_string(f.parity) + " " + std::to_string(f.stopBits));
    if (!formatAccepted) return false;
    format = f;
    return true;
  }
  bool SetDtr(bool on) override { return SetLine("dtr", dtr, on); }
  bool SetRts(bool on) override { return SetLine("rts", rts, on); }
  std::optional<std::size_t> Queued() override {
    ++queuedCalls;
    if (lost) return std::nullopt;
    return queueCap == 0 ? pending_.size() : std::min(pending_.size(), queueCap);
  }
  std::size_t Read(std::uint8_t* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, pending_.size());
    std::copy_n(pending_.begin(), n, buffer);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
    bytesRead += n;
    return n;
  }
  void Purge() override {
    calls.push_back("purge");
    pending_.clear();
  }
  bool CarrierDetect() override { return open_ && carrier; }
  std::optional<ModemInputs> ReadModemInputs() const override {
    if (!open_ || !hasModemLines) return std::nullopt;
    return ModemInputs{carrier, dsr, cts};
  }
  void Close() override {
    calls.push_back("close");
    open_ = false;
  }

 private:
  bool SetLine(const char* name, std::optional<bool>& state, bool on) {
    calls.push_back(std::string(name) + (on ? " 1" : " 0"));
    if (!hasModemLines) return false;
    state = on;
    return true;
  }

  bool open_ = false;
  std::deque<std::uint8_t> pending_;
};

}  // namespace ql::test_support
