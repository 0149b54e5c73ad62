// What the journal keeps: the settings of section "Journal" read through the
// settings store, and old runs removed when a writer opens a real journal,
// oldest first, never the newest run nor one still being recorded.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "journal/journal_writer.h"
#include "journal/retention.h"
#include "run/memory_profile_store.h"
#include "support/temp_dir.h"

namespace ql::journal {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kDayUs = 86'400'000'000;

std::int64_t Now() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

class RetentionTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.ok()); }

  // A finished run of `samples` samples that ended `days_ago` days ago.
  void FinishedRun(double days_ago, int samples, JournalSettings settings = {}) {
    settings.keep_days = 0;
    settings.max_mb = 1 << 20;
    JournalWriter writer(path_, nullptr, settings);
    const std::int64_t end = Now() - static_cast<std::int64_t>(days_ago * kDayUs);
    writer.BeginRun(RunInfo{"1.0", "cli", "/dev/pts/3", "COM1", 500, 1.0}, {end - 1000, 0});
    for (int i = 0; i < samples; ++i) {
      JournalSample s;
      s.time = {end - 1000 + i, 0};
      s.value = i;
      s.unit = "V";
      s.list_line = " 14:02:37  DC  1.234V    " + std::string(300, 'x') + std::to_string(i);
      writer.Record(s);
    }
    writer.Event({RunEventKind::kStop, {end, 0}, ""});
  }

  // The ids of the runs left, oldest first, as "1 3".
  std::string RunIds() {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    std::string ids;
    sqlite3_prepare_v2(db, "SELECT id FROM runs ORDER BY id", -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW)
      ids += (ids.empty() ? "" : " ") + std::to_string(sqlite3_column_int64(s, 0));
    sqlite3_finalize(s);
    sqlite3_close(db);
    return ids;
  }

  // Opens the journal for writing with `settings`, as a new run's start does.
  void OpenWith(const JournalSettings& settings) {
    JournalWriter writer(path_, [this](const std::string& m) { reports_ += m; }, settings);
    writer.BeginRun(RunInfo{}, {Now(), 0});
    writer.Event({RunEventKind::kStop, {Now(), 0}, ""});
  }

  test_support::TempDir scratch_{"ql-retention"};
  std::string path_ = scratch_.PathOf("journal.sqlite3");
  std::string reports_;
};

TEST(JournalSettingsTest, SectionJournalWithItsDefaults) {
  struct Case {
    const char* enabled;
    const char* keep_days;
    const char* max_mb;
    bool want_enabled;
    int want_days, want_mb;
  };
  for (const Case& c : {Case{nullptr, nullptr, nullptr, true, 90, 1024},
                        Case{"0", "0", "10", false, 0, 10},
                        Case{"1", "7", "2048", true, 7, 2048},
                        Case{"yes", "-3", "0", true, 90, 1024},
                        Case{"", "x", "-1", true, 90, 1024}}) {
    MemoryProfileStore store;
    if (c.enabled) store.Set("Journal", "Enabled", c.enabled);
    if (c.keep_days) store.Set("Journal", "KeepDays", c.keep_days);
    if (c.max_mb) store.Set("Journal", "MaxMB", c.max_mb);
    const JournalSettings s = ReadJournalSettings(store);
    EXPECT_EQ(s.enabled, c.want_enabled) << c.keep_days;
    EXPECT_EQ(s.keep_days, c.want_days) << c.keep_days;
    EXPECT_EQ(s.max_mb, c.want_mb) << c.max_mb;
  }
}

TEST_F(RetentionTest, RunsOlderThanKeepDaysGoOldestFirstButNeverTheNewest) {
  FinishedRun(200, 3);
  FinishedRun(100, 3);
  FinishedRun(10, 3);
  FinishedRun(95, 3);
  OpenWith({true, 0, 1024});
  EXPECT_EQ(RunIds(), "1 2 3 4 5");  // 0 keeps all
  FinishedRun(120, 3);               // the newest run, though old
  OpenWith({true, 90, 1024});
  EXPECT_EQ(RunIds(), "3 5 6 7");
  EXPECT_TRUE(reports_.empty()) << reports_;
}

TEST_F(RetentionTest, BeyondMaxMbTheOldestRunsGoAndTheNewestStaysAlone) {
  // About 0.38 MB a run: two must go to come under 1 MB.
  for (int i = 0; i < 4; ++i) FinishedRun(1, 1000);
  OpenWith({true, 90, 1});
  EXPECT_EQ(RunIds(), "3 4 5");
  // The samples of removed runs went with them.
  sqlite3* db = nullptr;
  sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT count(*) FROM samples WHERE id >> 32 NOT IN (SELECT id FROM parts)"
                     " OR id >> 32 IN (SELECT id FROM parts WHERE run_id NOT IN"
                     " (SELECT id FROM runs))",
                     -1, &s, nullptr);
  ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int64(s, 0), 0);
  sqlite3_finalize(s);
  sqlite3_close(db);
  // A limit that one run alone exceeds still keeps the newest.
  FinishedRun(1, 3000);
  OpenWith({true, 90, 1});
  EXPECT_EQ(RunIds(), "6 7");
}

TEST_F(RetentionTest, ARunStillBeingRecordedIsKept) {
  // A writer of this live process, the oldest run, still recording.
  JournalWriter live(path_, nullptr, {true, 0, 1 << 20});
  live.BeginRun(RunInfo{}, {Now(), 0});
  JournalSample sample;
  sample.list_line = std::string(300, 'x');
  for (int i = 0; i < 1000; ++i) live.Record(sample);
  for (int i = 0; i < 3; ++i) FinishedRun(1, 1000);
  OpenWith({true, 90, 1});
  EXPECT_EQ(RunIds(), "1 4 5");
}

TEST_F(RetentionTest, DisabledWritesNothing) {
  OpenWith({false, 90, 1024});
  EXPECT_FALSE(fs::exists(path_));
}

}  // namespace
}  // namespace ql::journal
