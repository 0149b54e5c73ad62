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

#include "base/unique_fd.h"

namespace ql::testing {

class PtyPair {
 public:
  PtyPair() {
    master_ = UniqueFd(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    const int master = master_.Get();
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
    slavePath_ = ::ptsname(master);
  }

  // Returns true iff the pair was made.
  bool ok() const { return !slavePath_.empty(); }
  const std::string& SlavePath() const { return slavePath_; }

  // The meter sends `bytes`. Returns true iff all were written.
  bool Send(std::string_view bytes) {
    return master_.Valid() && ::write(master_.Get(), bytes.data(), bytes.size()) ==
                                  static_cast<ssize_t>(bytes.size());
  }
  void PullCable() { master_.Reset(); }

 private:
  UniqueFd master_;
  std::string slavePath_;
};

}  // namespace ql::testing
