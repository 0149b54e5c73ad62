#include "link/pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <utility>

#include "base/error_text.h"

namespace ql {

Status PseudoTerminal::Open(bool nonBlocking) {
  UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | (nonBlocking ? O_NONBLOCK : 0)));
  if (!master.Valid()) return Status::IoError(ErrorText("posix_openpt", errno));
  // ptsname_r, not ptsname: the name lands in our own buffer, safe beside
  // other threads making terminals.
  std::array<char, 128> name{};
  if (::grantpt(master.Get()) != 0 || ::unlockpt(master.Get()) != 0 ||
      ::ptsname_r(master.Get(), name.data(), name.size()) != 0) {
    return Status::IoError(ErrorText("pseudo-terminal", errno));
  }
  master_ = std::move(master);
  slavePath_ = name.data();
  return Status::Ok();
}

void PseudoTerminal::CloseMaster() { master_.Reset(); }

}  // namespace ql
