#pragma once
// A SerialLine that passes every call on to another one and counts the
// calls that poll, read and reopen, so a test can see how much work a tick
// does on a real line.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "link/serial_line.h"

namespace ql::test_support {

class CountingLine : public SerialLine {
 public:
  // `inner` must outlive this object.
  explicit CountingLine(SerialLine& inner) : inner_(inner) {}

  int queuedCalls = 0;
  int readCalls = 0;
  int reopenCalls = 0;

  Status Open(const std::string& portName) override { return inner_.Open(portName); }
  Status Reopen() override {
    ++reopenCalls;
    return inner_.Reopen();
  }
  bool IsOpen() const override { return inner_.IsOpen(); }
  bool SetFormat(const LineFormat& format) override { return inner_.SetFormat(format); }
  bool SetDtr(bool on) override { return inner_.SetDtr(on); }
  bool SetRts(bool on) override { return inner_.SetRts(on); }
  std::optional<std::size_t> Queued() override {
    ++queuedCalls;
    return inner_.Queued();
  }
  std::size_t Read(std::uint8_t* buffer, std::size_t size) override {
    ++readCalls;
    return inner_.Read(buffer, size);
  }
  void Purge() override { inner_.Purge(); }
  bool CarrierDetect() override { return inner_.CarrierDetect(); }
  std::optional<ModemInputs> ReadModemInputs() const override { return inner_.ReadModemInputs(); }
  void Close() override { inner_.Close(); }

 private:
  SerialLine& inner_;
};

}  // namespace ql::test_support
