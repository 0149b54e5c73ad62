#include "link/pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace ql {

namespace {

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

Status PseudoTerminal::Open(bool nonBlocking) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | (nonBlocking ? O_NONBLOCK : 0));
  if (master < 0) return Status::IoError(SystemError("posix_openpt"));
  // ptsname_r, not ptsname: the name lands in our own buffer, safe beside
  // other threads making terminals.
  std::array<char, 128> name{};
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
      ::ptsname_r(master, name.data(), name.size()) != 0) {
    const Status status = Status::IoError(SystemError("pseudo-terminal"));
    ::close(master);
    return status;
  }
  master_ = master;
  slavePath_ = name.data();
  return Status::Ok();
}

void PseudoTerminal::CloseMaster() {
  if (master_ < 0) return;
  ::close(master_);
  master_ = -1;
}

}  // namespace ql
