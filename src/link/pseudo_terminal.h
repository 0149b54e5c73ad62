#pragma once
// A new pseudo-terminal pair standing in for a serial cable: the master
// side, held here, is the meter's end; the slave side is a device
// (SlavePath()) that a logger opens as its serial port. Closing the master
// is pulling the cable: the slave side hangs up.
//
// The simulator's output port and the tests' meters are made here.

#include <string>

#include "base/status.h"
#include "base/unique_fd.h"

namespace ql {

class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // Makes the pair. The master side is not inherited by child programs; with
  // `nonBlocking`, a write the slave side does not take now returns at once
  // (EAGAIN) instead of waiting. REQUIRES: not made yet.
  [[nodiscard]] Status Open(bool nonBlocking);

  // The master side's descriptor, or -1 when there is none.
  int MasterFd() const { return master_.Get(); }
  // The slave side's device path; empty until made.
  const std::string& SlavePath() const { return slavePath_; }

  // Pulls the cable. Nothing happens when the master is closed already.
  void CloseMaster();

 private:
  UniqueFd master_;
  std::string slavePath_;
};

}  // namespace ql
