#include "journal/journal_db.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include "journal/schema.h"

namespace ql::journal {

namespace fs = std::filesystem;

namespace {

// How long a writer waits for another process's transaction.
constexpr int kBusyTimeoutMs = 2000;
// How long to pause before asking again where SQLite does not wait itself.
constexpr std::chrono::milliseconds kBusyRetryPause{5};

std::string UtcStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return text;
}

// Before SQLite's first use: no memory statistics, whose global lock every
// allocation would otherwise take (a million rows read back take millions).
void ConfigureSqliteOnce() {
  static const bool configured = [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    return true;
  }();
  static_cast<void>(configured);
}

bool IsCorruption(int code) {
  const int primary = code & 0xff;
  return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

}  // namespace

std::string DefaultJournalPath() {
  if (const char* named = std::getenv("QUINTALINE_JOURNAL"); named && *named) return named;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
    return std::string(data) + "/Quintaline/journal.sqlite3";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : ".") + "/.local/share/Quintaline/journal.sqlite3";
}

Db::~Db() { Close(); }

void Db::Close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

void Db::SetError(const std::string& what) {
  error_ = what;
  if (db_) error_ += std::string(": ") + sqlite3_errmsg(db_);
}

bool Db::Exec(const char* sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
  if (rc == SQLITE_OK) return true;
  error_ = message ? message : sqlite3_errstr(rc);
  sqlite3_free(message);
  return false;
}

int Db::UserVersion() {
  Statement q(db_, "PRAGMA user_version");
  if (!q.Ok() || sqlite3_step(q.Get()) != SQLITE_ROW) return -1;
  return sqlite3_column_int(q.Get(), 0);
}

bool Db::TablesEmpty() {
  Statement tables(db_, "SELECT count(*) FROM sqlite_master");
  return tables.Ok() && sqlite3_step(tables.Get()) == SQLITE_ROW &&
         sqlite3_column_int(tables.Get(), 0) == 0;
}

bool Db::CheckLayout() {
  // Both reads in one snapshot: another program making the tables of a new
  // file commits them and their version together, and seen between two
  // snapshots its tables would look like those of an older layout.
  if (!Exec("BEGIN")) {
    error_ = "cannot read the journal's layout: " + error_;
    return false;
  }
  const int version = UserVersion();
  if (version < 0) {
    // The read stays open so that the caller still sees SQLite's code (a
    // damaged file); closing the connection ends it.
    SetError("cannot read the journal's layout");
    return false;
  }
  const bool empty = version == 0 && TablesEmpty();
  sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  if (version == kSchemaVersion || empty) return true;
  // Nothing is written to a file of another layout.
  layout_ = version;
  error_ = "its tables are of another layout (" + std::to_string(version) +
           ") than this program's (" + std::to_string(kSchemaVersion) + ")";
  return false;
}

bool Db::MakeTables() {
  if (UserVersion() == kSchemaVersion) return true;
  // A new file: the first of several programs opening it at once makes the
  // tables, the others find them made.
  if (!Exec("BEGIN IMMEDIATE")) return false;
  const bool made = UserVersion() == kSchemaVersion ||
                    (TablesEmpty() && Exec(kSchema) &&
                     Exec(("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str()));
  if (made && Exec("COMMIT")) return true;
  const std::string failure = error_;
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  error_ = "cannot make the journal's tables: " + failure;
  return false;
}

bool Db::UseWal() {
  // Turning a new file to WAL needs it alone for a moment. While another
  // program makes the same new file, SQLite may answer "busy" here at once
  // instead of waiting, so the wait is ours.
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
  while (!Exec("PRAGMA journal_mode=WAL")) {
    if ((sqlite3_errcode(db_) & 0xff) != SQLITE_BUSY || Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kBusyRetryPause);
  }
  return true;
}

bool Db::OpenAndPrepare(const std::string& path) {
  Close();
  ConfigureSqliteOnce();
  layout_ = kSchemaVersion;
  const int rc = sqlite3_open_v2(path.c_str(), &db_,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
  if (rc != SQLITE_OK) {
    SetError("cannot open " + path);
    return false;
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  // NORMAL in WAL mode: a commit never waits for the disk; the worker's
  // timed checkpoint syncs the WAL. Without automatic checkpoints no commit
  // of the tick ever runs one (and its sync).
  return CheckLayout() && UseWal() && Exec("PRAGMA synchronous=NORMAL") &&
         Exec("PRAGMA foreign_keys=ON") && Exec("PRAGMA wal_autocheckpoint=0") && MakeTables();
}

bool Db::Open(const std::string& path) {
  moved_aside_.clear();
  std::error_code ec;
  const fs::path parent = fs::path(path).parent_path();
  if (!parent.empty()) fs::create_directories(parent, ec);
  if (OpenAndPrepare(path)) return true;
  const int code = db_ ? sqlite3_extended_errcode(db_) : SQLITE_CANTOPEN;
  // A journal of a newer program is left alone; one of an older layout is
  // kept aside like a damaged one.
  const bool older = layout_ >= 0 && layout_ < kSchemaVersion;
  if (!IsCorruption(code) && !older) return false;
  Close();
  // Never delete a damaged journal: it may still hold what someone needs.
  const std::string aside = path + ".corrupt-" + UtcStamp();
  fs::rename(path, aside, ec);
  if (ec) {
    error_ = "cannot move the damaged journal " + path + " aside: " + ec.message();
    return false;
  }
  for (const char* suffix : {"-wal", "-shm"}) {
    std::error_code ignored;
    if (fs::exists(path + suffix, ignored)) fs::rename(path + suffix, aside + suffix, ignored);
  }
  moved_aside_ = aside;
  return OpenAndPrepare(path);
}

bool Db::OpenReadOnly(const std::string& path) {
  Close();
  ConfigureSqliteOnce();
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
      SQLITE_OK) {
    SetError("cannot open " + path);
    return false;
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  const int version = UserVersion();
  if (version == kSchemaVersion) return true;
  if (version < 0) {
    SetError("cannot read " + path);
  } else {
    error_ = path + " is no journal of this program's layout (" + std::to_string(version) + ")";
  }
  return false;
}

Statement::Statement(sqlite3* db, const char* sql) {
  if (db && sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

}  // namespace ql::journal
