// The wall clock behind the journal: one reading gives a UTC instant and the
// offset the local time had at that instant.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>

#include "run/journal_sink.h"

namespace ql {
namespace {

TEST(SystemWallClockTest, OffsetIsTheLocalZonesAtThatInstant) {
  const char* before = std::getenv("TZ");
  const std::string saved = before ? before : "";
  struct Case {
    const char* zone;
    int winter_offset_s;
  };
  for (const Case& c : {Case{"UTC0", 0}, Case{"CET-1CEST,M3.5.0,M10.5.0/3", 3600},
                        Case{"EST5EDT,M3.2.0,M11.1.0", -5 * 3600}}) {
    SCOPED_TRACE(c.zone);
    setenv("TZ", c.zone, 1);
    tzset();
    SystemWallClock clock;
    const WallTime t = clock.Now();
    const std::time_t seconds = t.utc_us / 1000000;
    std::tm local{};
    localtime_r(&seconds, &local);
    EXPECT_EQ(t.utc_offset_s, local.tm_gmtoff);
    // Either standard or summer time of that zone.
    EXPECT_TRUE(t.utc_offset_s == c.winter_offset_s ||
                (c.winter_offset_s != 0 && t.utc_offset_s == c.winter_offset_s + 3600));
    const auto now_us = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    EXPECT_LE(t.utc_us, now_us);
    EXPECT_GT(t.utc_us, now_us - 60'000'000);
  }
  if (before) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
  tzset();
}

TEST(RunEventNameTest, EveryKindHasItsOwnName) {
  std::set<std::string> names;
  for (int k = 0; k <= static_cast<int>(RunEventKind::kJournalError); ++k)
    names.insert(RunEventName(static_cast<RunEventKind>(k)));
  EXPECT_EQ(names.size(), static_cast<size_t>(RunEventKind::kJournalError) + 1);
  EXPECT_EQ(names.count("unknown"), 0u);
}

}  // namespace
}  // namespace ql
