// A copy of the journal and its WAL taken while a run writes: the copy is a
// sound database holding every sample committed before the copy began.
// The copier holds a read transaction meanwhile, as a backup must: it keeps
// the WAL from being restarted under the copy.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "journal/journal_writer.h"
#include "support/temp_dir.h"

namespace ql::journal {
namespace {

namespace fs = std::filesystem;

std::string QueryText(sqlite3* db, const char* sql) {
  sqlite3_stmt* s = nullptr;
  std::string result = "(error)";
  if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
    result = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
  sqlite3_finalize(s);
  return result;
}

TEST(JournalCopyTest, CopyTakenWhileARunWritesIsSoundAndHoldsEveryCommittedSample) {
  const test_support::TempDir scratch("ql-journal-copy");
  ASSERT_TRUE(scratch.ok());
  const std::string dir = scratch.path().string();
  const std::string path = dir + "/journal.sqlite3";
  std::atomic<std::int64_t> committed{0};
  std::atomic<bool> stop{false};
  std::thread run([&] {
    JournalWriter writer(path, nullptr);
    writer.BeginRun(RunInfo{"1.0", "cli", "/dev/pts/3", "COM1", 500, 1.0}, {});
    for (std::int64_t i = 0; !stop; ++i) {
      JournalSample s;
      s.time = {1'700'000'000'000'000 + i * 500'000, 0};
      s.value = static_cast<double>(i);
      s.list_line = " 14:02:37  DC  " + std::to_string(i);
      writer.Record(s);
      committed = i + 1;  // Record returned: the sample is committed
    }
    writer.Event({RunEventKind::kStop, {}, ""});
  });

  std::int64_t last = 0;
  for (int copy = 0; copy < 4; ++copy) {
    // Let the run go on long enough for the writer's timed checkpoints.
    while (committed < last + 3000) std::this_thread::yield();
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &reader, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_busy_timeout(reader, 5000);
    ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM samples;", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    last = committed;
    const std::string copy_path = dir + "/copy" + std::to_string(copy) + ".sqlite3";
    fs::copy_file(path, copy_path);
    fs::copy_file(path + "-wal", copy_path + "-wal");
    sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(reader);

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(copy_path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(QueryText(db, "PRAGMA integrity_check"), "ok") << copy;
    const std::string held =
        QueryText(db, ("SELECT count(*) FROM samples WHERE value < " + std::to_string(last)).c_str());
    EXPECT_EQ(held, std::to_string(last)) << copy;
    sqlite3_close(db);
  }
  stop = true;
  run.join();
}

}  // namespace
}  // namespace ql::journal
