// CSV from a real journal: the time column, formatted once per second,
// agrees with the full formatting for every sample, across seconds, offsets
// and dates before 1970; numbers keep 15 significant digits.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "journal/csv_export.h"
#include "journal/journal_reader.h"
#include "journal/journal_writer.h"
#include "journal/schema.h"
#include "support/temp_dir.h"

namespace ql::journal {
namespace {

TEST(CsvExportTest, EveryRowsTimeAndValueAsWrittenInFull) {
  const test_support::TempDir dir("ql-csv");
  ASSERT_TRUE(dir.ok());
  const std::string path = dir.PathOf("journal.sqlite3");
  std::vector<WallTime> times;
  for (std::int64_t base : {std::int64_t{1'765'375'357'999'000}, std::int64_t{-1'234'567}})
    for (int offset : {3600, -12'600, 0})
      for (std::int64_t step : {0, 1, 999, 1000, 250'000, 750'000, 1'000'000})
        times.push_back({base + step, offset});
  {
    JournalWriter writer(path, nullptr);
    writer.BeginRun(RunInfo{}, {});
    for (std::size_t i = 0; i < times.size(); ++i) {
      JournalSample s;
      s.time = times[i];
      s.value = 1.0 / 3.0 * static_cast<double>(i);
      s.unit = "V";
      writer.Record(s);
    }
  }
  JournalReader reader;
  ASSERT_TRUE(reader.Open(path));
  std::string csv, error;
  ASSERT_TRUE(ExportRunCsv(reader.Database(), *reader.FindRun("last"), 0, {}, csv, error)) << error;
  std::istringstream rows(csv);
  std::string row;
  std::getline(rows, row);  // the header
  for (std::size_t i = 0; i < times.size(); ++i) {
    ASSERT_TRUE(std::getline(rows, row));
    // The run started at 0: seconds are the sample's whole milliseconds.
    const std::int64_t us = times[i].utc_us;
    const std::int64_t ms = us / 1000 - (us % 1000 < 0 ? 1 : 0);
    char seconds[40], value[40];
    std::snprintf(seconds, sizeof seconds, "%.15g", static_cast<double>(ms) / 1000.0);
    std::snprintf(value, sizeof value, "%.15g", 1.0 / 3.0 * static_cast<double>(i));
    const std::string expected =
        IsoTime(times[i].utc_us, times[i].utc_offset_s) + "," + seconds + "," + value + ",";
    EXPECT_EQ(row.substr(0, expected.size()), expected) << i;
  }
}

// A damaged journal may number a part's last sample anywhere in the part's
// keys; the export still gives the rows there are, without taking room for
// billions.
TEST(CsvExportTest, SampleNumberedAtTheEndOfItsPartsKeysIsExportedAsItIs) {
  const test_support::TempDir dir("ql-csv");
  ASSERT_TRUE(dir.ok());
  const std::string path = dir.PathOf("journal.sqlite3");
  {
    JournalWriter writer(path, nullptr);
    writer.BeginRun(RunInfo{}, {});
    for (int i = 0; i < 3; ++i) {
      JournalSample s;
      s.time = {std::int64_t{1'000'000} * i, 0};
      s.value = i;
      writer.Record(s);
    }
  }
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const std::string renumber = "UPDATE samples SET id = " +
                                 std::to_string(KeysOfPart(1).before - 1) +
                                 " WHERE id = (SELECT max(id) FROM samples)";
    EXPECT_EQ(sqlite3_exec(db, renumber.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  JournalReader reader;
  ASSERT_TRUE(reader.Open(path));
  std::string csv, error;
  ASSERT_TRUE(ExportRunCsv(reader.Database(), *reader.FindRun("last"), 0, {}, csv, error)) << error;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4) << csv;
  EXPECT_LT(csv.capacity(), std::size_t{1} << 30);
}

}  // namespace
}  // namespace ql::journal
