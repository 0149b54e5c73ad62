// The 24-hour run at 500 ms sampling (1,728,000 ticks), in the trend graph
// form. Labelled `long`: ctest -L long, or under valgrind:
//   valgrind --leak-check=full build/<preset>/tests/reliability/reliability_long_tests

#include <gtest/gtest.h>

#include <cstdio>

#include "graph/display_form.h"
#include "reliability/long_run.h"

namespace ql::test_support {
namespace {

TEST(LongRunDayTest, DayOfSamplingIntoTheTrendGraph) {
  constexpr long long kTicks = 24LL * LongRun::kTicksPerHour;
  constexpr int kSamples = static_cast<int>((kTicks + 7) / 8);  // the first at once, then every 8
  LongRun run(FORM_LINE);
  const std::size_t heapBefore = HeapInUse();
  run.Ticks(kTicks - run.ticks);
  const std::size_t heapAfter = HeapInUse();

  EXPECT_EQ(run.view->Lines().Count(), kSamples);
  EXPECT_TRUE(run.host.messages.empty());
  const double perLine = static_cast<double>(heapAfter - heapBefore) / kSamples;
  EXPECT_LE(perLine, 96.0);
  std::printf("%d lines, heap per line %.1f bytes, %lld panel operations\n", kSamples, perLine,
              run.host.panel.ops);
  run.view->OnRunStop();
  EXPECT_EQ(run.view->LineCount(), kSamples);
}

}  // namespace
}  // namespace ql::test_support
