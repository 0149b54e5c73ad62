#pragma once
// Owns one open file descriptor and closes it exactly once: when the owner
// goes, when another descriptor is put in its place, or by Close() where the
// caller must see close's result (the last write error can show only there).
// A moved-from UniqueFd holds nothing, so no path can close a descriptor
// twice and so close a number the system has already given to another file.

#include <unistd.h>

#include <utility>

namespace ql {

class UniqueFd {
 public:
  UniqueFd() = default;
  // Takes `fd`, which may be -1 (a failed open): then nothing is held.
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.fd_, -1));
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  // Returns true iff a descriptor is held.
  bool Valid() const { return fd_ >= 0; }
  // The descriptor, or -1; still owned by this object.
  int Get() const { return fd_; }

  // Closes what is held, if anything, and takes `fd`. close's result is not
  // wanted here: nothing was written through the descriptor that a failed
  // close could lose, or the loss was reported already.
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes what is held. Returns close's result: 0, or -1 with errno set.
  // Nothing is held afterwards, whatever close returned.
  [[nodiscard]] int Close() { return fd_ < 0 ? 0 : ::close(std::exchange(fd_, -1)); }

 private:
  int fd_ = -1;
};

}  // namespace ql
