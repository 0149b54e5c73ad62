#pragma once
// The outcome of a core operation that can fail for a reason the user should
// see. The core never throws and never logs: it returns a Status, and the
// faces turn it into a message box, a stderr line or an exit code. A
// Status dropped unread is a compile error; one ignored on purpose is cast
// to void with the reason beside it.

#include <string>
#include <utility>

namespace ql {

class [[nodiscard]] Status {
 public:
  enum class Code { kOk, kNotFound, kBusy, kDenied, kIoError, kInvalid, kTooLarge };

  Status() = default;
  static Status Ok() { return Status(); }
  static Status NotFound(std::string reason) { return {Code::kNotFound, std::move(reason)}; }
  static Status Busy(std::string reason) { return {Code::kBusy, std::move(reason)}; }
  static Status Denied(std::string reason) { return {Code::kDenied, std::move(reason)}; }
  static Status IoError(std::string reason) { return {Code::kIoError, std::move(reason)}; }
  static Status Invalid(std::string reason) { return {Code::kInvalid, std::move(reason)}; }
  static Status TooLarge(std::string reason) { return {Code::kTooLarge, std::move(reason)}; }

  // Returns true iff the operation succeeded.
  bool ok() const { return code_ == Code::kOk; }
  Code code() const { return code_; }
  // A short, human-readable reason; empty when ok().
  const std::string& reason() const { return reason_; }

 private:
  Status(Code code, std::string reason) : code_(code), reason_(std::move(reason)) {}

  Code code_ = Code::kOk;
  std::string reason_;
};

}  // namespace ql
