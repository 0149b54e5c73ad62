#pragma once
// A pseudo-terminal standing in for a meter on a serial adapter: the slave
// side is the device the program opens, the master side is the meter end of
// the cable. Closing the master is pulling the cable: the slave hangs up and
// its device node goes away.

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace ql::test_support {

class PtyPair {
 public:
  PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    slavePath_ = ::ptsname(master_);
  }
  ~PtyPair() { PullCable(); }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  // Returns true iff the pair was made.
  bool ok() const { return !slavePath_.empty(); }
  const std::string& SlavePath() const { return slavePath_; }

  // The meter sends `bytes`. Returns true iff all were written.
  bool Send(std::string_view bytes) {
    return master_ >= 0 &&
           ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  void PullCable() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string slavePath_;
};

}  // namespace ql::test_support
