// Long runs at 500 ms sampling, the tick driven directly on fakes: one
// sample every 8 ticks without drift, the heap growing only by the lines of
// the list, and nothing left behind when the view goes. Runs of an hour or
// less belong to the unit suite; the 24-hour run is labelled `long` and run by
// hand (ctest -L long), under valgrind or LeakSanitizer as well.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "graph/display_form.h"
#include "reliability/long_run.h"

namespace ql::test_support {
namespace {

constexpr int kTicksPerSample = 8;  // the 500 ms setting: 8 ticks of 50 ms

// Runs `minutes` of ticks in `form` and checks the pace, the list and the
// heap. Returns the heap bytes each line of the list added.
double CheckLongRun(int form, int minutes) {
  const long long ticks = static_cast<long long>(minutes) * LongRun::kTicksPerHour / 60;
  // A sample on the first tick and one every period after it.
  const long long samples = (ticks + kTicksPerSample - 1) / kTicksPerSample;
  LongRun run(form);
  run.Ticks(kTicksPerSample);  // past the first draw of the graph
  const std::size_t heapBefore = HeapInUse();
  const int linesBefore = run.view->Lines().Count();

  run.Ticks(ticks - run.ticks);

  const int lines = run.view->Lines().Count();
  EXPECT_EQ(lines, samples);
  EXPECT_EQ(run.host.messages.size(), 0u);
  EXPECT_EQ(run.view->DisplayForm(), form);
  for (int i : {0, lines / 2, lines - 1}) {
    EXPECT_EQ(run.view->Lines().View(i).size(), 61u);
  }
  const double perLine = static_cast<double>(HeapInUse() - heapBefore) / (lines - linesBefore);
  // A line is its 61 characters in the list's blocks and its 12-byte place
  // in the index; both grow by doubling, so up to as much again may be
  // reserved. Anything else that grew with the run would show here.
  EXPECT_LE(perLine, 2 * (61.0 + 12.0));

  run.view->OnRunStop();
  EXPECT_EQ(run.view->LineCount(), lines);
  return perLine;
}

TEST(LongRunTest, HourOfSamplingIntoThePanel) {
  const double perLine = CheckLongRun(FORM_TEXT, 60);
  std::printf("heap per list line: %.1f bytes\n", perLine);
}

// Each sample redraws the graph of the newest 500 lines: a shorter run.
TEST(LongRunTest, TwentyMinutesOfSamplingIntoTheTrendGraph) { CheckLongRun(FORM_LINE, 20); }

TEST(LongRunTest, ViewAndListLeaveNothingBehind) {
  auto run10Minutes = [] {
    LongRun run(FORM_LINE);
    run.Ticks(LongRun::kTicksPerHour / 6);
    ASSERT_GT(run.view->Lines().Count(), 1000);
    run.view->OnRunStop();
  };
  run10Minutes();  // what is made once per process is made now
  const std::size_t heapBefore = HeapInUse();
  run10Minutes();
  // The run allocated over 100 kB; the C library's own caches of freed
  // blocks may still count a few of them as in use.
  EXPECT_LE(HeapInUse(), heapBefore + 1024);
}

}  // namespace
}  // namespace ql::test_support
