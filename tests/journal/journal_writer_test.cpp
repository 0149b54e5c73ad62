// The SQLite journal on a real database in a temporary folder: what a run
// leaves in the tables, a damaged file moved aside, a journal that cannot be
// written told once while the run goes on, two writers at once.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <latch>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "journal/journal_db.h"
#include "journal/journal_reader.h"
#include "journal/journal_writer.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

namespace ql::journal {
namespace {

namespace fs = std::filesystem;

class JournalWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.ok()); }

  // One number from the journal, read through a connection of its own.
  std::int64_t Query(const std::string& sql) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    std::int64_t result = -1;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
      result = sqlite3_column_int64(s, 0);
    else
      ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    sqlite3_finalize(s);
    sqlite3_close(db);
    return result;
  }

  static JournalSample Sample(int i, const char* unit = "V") {
    JournalSample s;
    s.time = {1'700'000'000'000'000 + i * 500'000, 3600};
    s.seconds_since_start = i * 0.5;
    s.value = 1.0 + i;
    s.display_text = "1.000";
    s.function = "DC";
    s.unit = unit;
    s.range = "4V";
    s.list_line = "line " + std::to_string(i);
    return s;
  }
  static RunEvent At(RunEventKind kind, const char* detail = "") {
    return RunEvent{kind, {1'700'000'100'000'000, 3600}, detail};
  }
  static RunInfo Info() { return RunInfo{"1.0", "cli", "/dev/pts/3", "COM1", 500, 1.0}; }

  test_support::TempDir scratch_{"ql-journal"};
  std::string dir_ = scratch_.path().string();
  std::string path_ = dir_ + "/journal.sqlite3";
  std::vector<std::string> reports_;
};

TEST_F(JournalWriterTest, RunPartsSamplesAndEventsAreCommittedAsTheyHappen) {
  JournalWriter writer(path_, [this](const std::string& m) { reports_.push_back(m); });
  writer.BeginRun(Info(), {1'700'000'000'000'000, 3600});
  writer.Event(At(RunEventKind::kStart));
  for (int i = 0; i < 3; ++i) writer.Record(Sample(i));
  // Seen by another connection before the run ends: committed, not buffered.
  EXPECT_EQ(Query("SELECT count(*) FROM samples"), 3);
  EXPECT_EQ(Query("SELECT count(*) FROM runs WHERE state='recording' AND pid=" +
                  std::to_string(getpid())), 1);
  writer.Event(At(RunEventKind::kListCleared, "range changed"));
  writer.Record(Sample(3, "mV"));
  writer.Event(At(RunEventKind::kPause));
  EXPECT_EQ(Query("SELECT count(*) FROM runs WHERE state='paused'"), 1);
  writer.Event(At(RunEventKind::kResume));
  writer.Event(At(RunEventKind::kStop));

  EXPECT_EQ(Query("SELECT count(*) FROM parts"), 2);
  EXPECT_EQ(Query("SELECT count(*) FROM samples s JOIN parts p ON s.id >> 32 = p.id "
                  "WHERE p.seq=2 AND p.unit='mV'"),
            1);
  EXPECT_EQ(Query("SELECT count(*) FROM runs WHERE state='finished' AND end_us IS NOT NULL"), 1);
  EXPECT_EQ(Query("SELECT count(*) FROM events"), 5);
  EXPECT_EQ(Query("SELECT count(*) FROM events WHERE kind='list cleared' AND detail='range changed'"),
            1);
  EXPECT_EQ(Query("SELECT utc_offset_s FROM samples LIMIT 1"), 3600);
  EXPECT_TRUE(reports_.empty());
}

TEST_F(JournalWriterTest, OverRangeIsStoredAsNull) {
  JournalWriter writer(path_, nullptr);
  writer.BeginRun(Info(), {});
  JournalSample s = Sample(0);
  s.value.reset();
  s.over_range = true;
  writer.Record(s);
  EXPECT_EQ(Query("SELECT count(*) FROM samples WHERE value IS NULL"), 1);
}

TEST_F(JournalWriterTest, DamagedFileIsMovedAsideAndANewJournalStarted) {
  std::vector<char> junk(8192);
  std::mt19937 random(12);
  for (char& c : junk) c = static_cast<char>(random());
  std::ofstream(path_, std::ios::binary).write(junk.data(), static_cast<std::streamsize>(junk.size()));

  JournalWriter writer(path_, [this](const std::string& m) { reports_.push_back(m); });
  writer.BeginRun(Info(), {});
  writer.Record(Sample(0));
  EXPECT_EQ(Query("SELECT count(*) FROM samples"), 1);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("moved aside"), std::string::npos);
  int aside = 0;
  for (const auto& entry : fs::directory_iterator(dir_)) {
    const std::string name = entry.path().filename();
    if (name.rfind("journal.sqlite3.corrupt-", 0) == 0 && name.find("-wal") == std::string::npos) {
      ++aside;
      EXPECT_EQ(test_support::ReadBytes(entry.path().string()),
                std::string(junk.begin(), junk.end()));
    }
  }
  EXPECT_EQ(aside, 1);
}

// The line is kept shorter (UTF-8, no trailing blanks) and comes back as
// the list had it: the micro and degree signs, blanks inside and at the end.
TEST_F(JournalWriterTest, ListLinesComeBackByteForByte) {
  const auto padded = [](std::string text) {
    text.resize(61, ' ');
    return text;
  };
  const std::string lines[] = {
      padded(" 14:02:37        1.234 \xB5"
             "Adc          DC\xB5"
             "A"),
      padded(" 14:02:38        23.5  \xB0"
             "C              TEMP"),
      std::string(61, ' '),
      padded(" 14:02:39 " + std::string(40, 'x') + "  end"),
  };
  {
    JournalWriter writer(path_, nullptr);
    writer.BeginRun(Info(), {});
    for (const std::string& line : lines) {
      ASSERT_EQ(line.size(), 61u);
      JournalSample s = Sample(0);
      s.list_line = line;
      writer.Record(s);
    }
  }
  JournalReader reader;
  ASSERT_TRUE(reader.Open(path_));
  const auto parts = reader.Parts(*reader.FindRun("last"));
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(reader.PartLines(parts[0].id),
            std::vector<std::string>(std::begin(lines), std::end(lines)));
  // Stored as UTF-8 for the sqlite3 shell, without the blanks at the end.
  EXPECT_EQ(Query("SELECT count(*) FROM samples WHERE line LIKE '% '"), 0);
  EXPECT_EQ(Query("SELECT count(*) FROM samples WHERE instr(line, char(181)) > 0"), 1);
  EXPECT_EQ(Query("SELECT count(*) FROM samples WHERE instr(line, char(176)) > 0"), 1);
}

// A journal of another layout: an older one is kept aside and a new one
// started; a newer program's is neither used nor touched.
TEST_F(JournalWriterTest, JournalOfAnotherLayout) {
  struct Case {
    const char* name;
    const char* sql;
    bool moved_aside;
  };
  for (const Case& c :
       {Case{"older", "CREATE TABLE samples(id INTEGER PRIMARY KEY, part_id INTEGER)", true},
        Case{"newer", "CREATE TABLE runs(id); PRAGMA user_version=99", false}}) {
    SCOPED_TRACE(c.name);
    const std::string folder = dir_ + "/" + c.name;
    fs::create_directory(folder);
    path_ = folder + "/journal.sqlite3";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, c.sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const std::string before = test_support::ReadBytes(path_);

    reports_.clear();
    {
      JournalWriter writer(path_, [this](const std::string& m) { reports_.push_back(m); });
      writer.BeginRun(Info(), {});
      writer.Record(Sample(0));
      EXPECT_EQ(writer.Failing(), !c.moved_aside);
    }
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].find("moved aside") != std::string::npos, c.moved_aside) << reports_[0];
    JournalReader reader;
    EXPECT_EQ(reader.Open(path_), c.moved_aside) << reader.Error();
    int aside = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename();
      if (name.rfind("journal.sqlite3.corrupt-", 0) == 0 && !name.ends_with("-wal") &&
          !name.ends_with("-shm")) {
        ++aside;
        EXPECT_TRUE(test_support::ReadBytes(entry.path().string()) == before);
      }
    }
    EXPECT_EQ(aside, c.moved_aside ? 1 : 0);
    if (c.moved_aside) {
      EXPECT_EQ(Query("SELECT count(*) FROM samples"), 1);
    } else {
      EXPECT_TRUE(test_support::ReadBytes(path_) == before) << "the newer journal was changed";
    }
  }
}

// Root ignores permissions: a tmpfs of its own, remounted read-only, stands
// in for a read-only folder; others use the folder's permissions.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(const std::string& dir) : dir_(dir) {
    if (geteuid() == 0) mounted_ = mount_.Mount(dir_, 4096);
  }
  bool Usable() const { return geteuid() != 0 || mounted_; }
  void SetWritable(bool writable) {
    if (mounted_ && writable) {
      mount_.MakeWritable();
    } else if (mounted_) {
      mount_.MakeReadOnly();
    } else {
      fs::permissions(dir_, writable ? fs::perms::owner_all
                                     : fs::perms::owner_read | fs::perms::owner_exec);
    }
  }

 private:
  std::string dir_;
  test_support::TmpfsMount mount_;
  bool mounted_ = false;
};

TEST_F(JournalWriterTest, UnwritableJournalIsToldOnceAndRetriedAtTheNextPart) {
  ReadOnlyFolder folder(dir_);
  if (!folder.Usable()) GTEST_SKIP() << "cannot mount a tmpfs here";
  folder.SetWritable(false);
  JournalWriter writer(path_, [this](const std::string& m) { reports_.push_back(m); });
  writer.BeginRun(Info(), {});
  writer.Event(At(RunEventKind::kStart));
  for (int i = 0; i < 5; ++i) writer.Record(Sample(i));
  EXPECT_EQ(reports_.size(), 1u);

  folder.SetWritable(true);
  writer.Event(At(RunEventKind::kListCleared, "range changed"));
  writer.Record(Sample(5));
  EXPECT_EQ(reports_.size(), 1u);
  EXPECT_EQ(Query("SELECT count(*) FROM samples"), 1);
  EXPECT_EQ(Query("SELECT count(*) FROM runs"), 1);
}

TEST_F(JournalWriterTest, FullDiskIsToldOnceAndTheRunGoesOn) {
  if (geteuid() != 0) GTEST_SKIP() << "a small tmpfs needs root";
  const std::string small = dir_ + "/small";
  fs::create_directory(small);
  test_support::TmpfsMount mount;
  if (!mount.Mount(small, 256)) GTEST_SKIP() << "cannot mount a tmpfs here";
  path_ = small + "/journal.sqlite3";
  {
    JournalWriter writer(path_, [this](const std::string& m) { reports_.push_back(m); });
    writer.BeginRun(Info(), {});
    JournalSample s = Sample(0);
    s.list_line.assign(2000, 'x');
    int written = 0;
    for (int i = 0; i < 2000; ++i) {
      writer.Record(s);
      if (reports_.empty()) ++written;
    }
    EXPECT_EQ(reports_.size(), 1u);
    EXPECT_GT(written, 0);
    // What was committed before the disk filled is still there.
    EXPECT_GE(Query("SELECT count(*) FROM samples"), written - 1);
  }
}

TEST_F(JournalWriterTest, TwoWritersIntoOneJournalKeepEverySample) {
  JournalWriter first(path_, [this](const std::string& m) { reports_.push_back(m); });
  JournalWriter second(path_, [this](const std::string& m) { reports_.push_back(m); });
  first.BeginRun(Info(), {});
  second.BeginRun(Info(), {});
  for (int i = 0; i < 200; ++i) {
    first.Record(Sample(i));
    second.Record(Sample(i));
  }
  first.Event(At(RunEventKind::kStop));
  second.Event(At(RunEventKind::kStop));
  EXPECT_TRUE(reports_.empty());
  EXPECT_EQ(Query("SELECT count(*) FROM runs WHERE state='finished'"), 2);
  EXPECT_EQ(Query("SELECT count(*) FROM samples"), 400);
}

// Several programs started together may all find the journal missing and
// make it at once. Turning the new file to WAL then needs it alone for a
// moment, and SQLite may answer "busy" there without waiting; each must get
// the journal all the same.
TEST_F(JournalWriterTest, ProgramsMakingANewJournalAtOnceAllOpenIt) {
  constexpr int kRounds = 100;
  constexpr int kOpeners = 4;
  for (int round = 0; round < kRounds; ++round) {
    const std::string path = dir_ + "/new-" + std::to_string(round) + ".sqlite3";
    std::latch start(kOpeners);
    std::array<std::string, kOpeners> errors;
    std::vector<std::thread> openers;
    for (int i = 0; i < kOpeners; ++i) {
      openers.emplace_back([&, i] {
        Db db;
        start.arrive_and_wait();
        if (!db.Open(path)) errors[static_cast<std::size_t>(i)] = db.Error();
      });
    }
    for (std::thread& opener : openers) opener.join();
    for (const std::string& error : errors) ASSERT_EQ(error, "") << "round " << round;
  }
}

}  // namespace
}  // namespace ql::journal
