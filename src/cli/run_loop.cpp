#include "cli/run_loop.h"

#include <cerrno>
#include <csignal>
#include <thread>

#include "cli/output.h"

namespace ql::cli {

namespace {

volatile std::sig_atomic_t g_stop = 0;

extern "C" void OnStopSignal(int) { g_stop = 1; }

}  // namespace

void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);  // a closed terminal or ssh session ends the run the same
}

bool StopRequested() { return g_stop != 0 || StdoutError() == EPIPE; }

void RunTicks(const std::function<bool()>& tick, std::chrono::steady_clock::duration period) {
  using Clock = std::chrono::steady_clock;
  auto next = Clock::now();
  while (!StopRequested() && tick()) {
    next += period;
    const auto now = Clock::now();
    if (next <= now) {
      next = now;  // fell behind: carry on from now, as a window timer does
      continue;
    }
    // Sleep in short steps so that a stop signal is seen soon.
    while (!StopRequested() && Clock::now() < next) {
      std::this_thread::sleep_until(std::min(next, Clock::now() + std::chrono::milliseconds(10)));
    }
  }
}

}  // namespace ql::cli
