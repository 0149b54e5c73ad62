#pragma once
// Waiting on something outside the test (a child process, the kernel's
// terminal layer, a device) without a fixed sleep: ask until the answer
// comes or a generous deadline passes.

#include <chrono>
#include <thread>

namespace ql::test_support {

inline constexpr std::chrono::milliseconds kPollDeadline{5000};

// Asks `done` until it returns true or `deadline` has passed, resting `step`
// between asks. `done` may do the work that brings the answer closer (a
// tick, a read) before it answers. Returns true iff it returned true.
template <typename Done>
bool PollUntil(Done done, std::chrono::milliseconds deadline = kPollDeadline,
               std::chrono::milliseconds step = std::chrono::milliseconds(1)) {
  const auto until = std::chrono::steady_clock::now() + deadline;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(step);
  }
  return true;
}

}  // namespace ql::test_support
