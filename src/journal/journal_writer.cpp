#include "journal/journal_writer.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string_view>

#include "base/latin1.h"
#include "journal/schema.h"
#include "journal/stored_line.h"

namespace ql::journal {

namespace {

// The WAL reaches the disk at least this often; a power cut loses at most
// this much.
constexpr auto kSyncPeriod = std::chrono::milliseconds(500);

std::int64_t NowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
  sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// The core's Latin-1 text as the journal keeps it, UTF-8.
void BindLatin1(sqlite3_stmt* stmt, int index, std::string_view latin1) {
  BindText(stmt, index, Latin1ToUtf8(latin1));
}

}  // namespace

std::string CurrentBootId() {
  std::ifstream in("/proc/sys/kernel/random/boot_id");
  std::string id;
  std::getline(in, id);
  return id;
}

JournalWriter::JournalWriter(std::string path, std::function<void(const std::string&)> report,
                             JournalSettings settings)
    : path_(std::move(path)), report_(std::move(report)), settings_(settings) {}

JournalWriter::~JournalWriter() { StopSyncWorker(); }

void JournalWriter::Fail(const std::string& what) {
  broken_ = true;
  // Once until the journal takes a sample again: a retry that fails the
  // same way is no news.
  if (reported_) return;
  reported_ = true;
  if (report_) report_("journal " + path_ + ": " + what);
}

bool JournalWriter::Open() { return settings_.enabled && EnsureOpen(true); }

bool JournalWriter::EnsureOpen(bool may_prune) {
  if (db_.Handle() && !broken_) return true;
  insert_sample_.reset();
  if (!db_.Open(path_)) {
    Fail(db_.Error());
    return false;
  }
  if (!db_.MovedAside().empty() && report_)
    report_("journal " + path_ + " was damaged or of an older layout; moved aside to " +
            db_.MovedAside() + " and a new journal started");
  broken_ = false;
  if (may_prune && !retention_done_) {
    retention_done_ = true;
    std::string error;
    if (ApplyRetention(db_, settings_, NowUs(), error) < 0 && report_)
      report_("journal " + path_ + ": " + error);
  }
  return true;
}

void JournalWriter::BeginRun(const RunInfo& info, WallTime start) {
  if (!settings_.enabled) return;
  StopSyncWorker();
  info_ = info;
  start_ = start;
  run_id_ = 0;
  part_open_ = false;
  part_seq_ = 0;
  if (EnsureOpen(true) && InsertRun()) StartSyncWorker();
}

bool JournalWriter::InsertRun() {
  Statement insert(db_.Handle(),
                   "INSERT INTO runs(start_us, start_offset_s, program_version, face, device_path,"
                   " port_name, sampling_ms, db_reference, state, pid, boot_id, heartbeat_us)"
                   " VALUES(?,?,?,?,?,?,?,?,'recording',?,?,?)");
  sqlite3_stmt* s = insert.Get();
  if (!s) {
    Fail(sqlite3_errmsg(db_.Handle()));
    return false;
  }
  sqlite3_bind_int64(s, 1, start_.utc_us);
  sqlite3_bind_int(s, 2, start_.utc_offset_s);
  BindText(s, 3, info_.program_version);
  BindText(s, 4, info_.face);
  BindText(s, 5, info_.device_path);
  BindText(s, 6, info_.port_name);
  sqlite3_bind_int64(s, 7, info_.sampling_ms);
  sqlite3_bind_double(s, 8, info_.db_reference);
  sqlite3_bind_int64(s, 9, static_cast<std::int64_t>(getpid()));
  BindText(s, 10, CurrentBootId());
  sqlite3_bind_int64(s, 11, NowUs());
  if (sqlite3_step(s) != SQLITE_DONE) {
    Fail(sqlite3_errmsg(db_.Handle()));
    return false;
  }
  run_id_ = sqlite3_last_insert_rowid(db_.Handle());
  return true;
}

bool JournalWriter::InsertPart(const JournalSample& first) {
  Statement insert(db_.Handle(),
                   "INSERT INTO parts(run_id, seq, function, unit, range) VALUES(?,?,?,?,?)");
  sqlite3_stmt* s = insert.Get();
  if (!s) {
    Fail(sqlite3_errmsg(db_.Handle()));
    return false;
  }
  sqlite3_bind_int64(s, 1, run_id_);
  sqlite3_bind_int(s, 2, part_seq_);
  BindLatin1(s, 3, first.function);
  BindLatin1(s, 4, first.unit);
  BindLatin1(s, 5, first.range);
  if (sqlite3_step(s) != SQLITE_DONE) {
    Fail(sqlite3_errmsg(db_.Handle()));
    return false;
  }
  part_id_ = sqlite3_last_insert_rowid(db_.Handle());
  part_samples_ = 0;
  part_open_ = true;
  if (KeysOfPart(part_id_).after == 0) {
    // Beyond a billion parts the key of a sample no longer holds its part.
    Fail("the journal holds too many parts");
    return false;
  }
  return true;
}

void JournalWriter::Record(const JournalSample& sample) {
  if (!settings_.enabled) return;
  if (!part_open_) {
    // A new part: the moment to try a journal that failed before.
    ++part_seq_;
    // Never prunes here: Record runs on the tick.
    if (!EnsureOpen(false)) return;
    if (run_id_ == 0) {
      if (!InsertRun()) return;
      StartSyncWorker();
    }
    if (!InsertPart(sample)) return;
  }
  if (broken_) return;
  if (!insert_sample_)
    insert_sample_ = std::make_unique<Statement>(
        db_.Handle(), "INSERT INTO samples(id, ms, utc_offset_s, value, line) VALUES(?,?,?,?,?)");
  sqlite3_stmt* s = insert_sample_->Get();
  if (!s) {
    insert_sample_.reset();
    Fail(sqlite3_errmsg(db_.Handle()));
    return;
  }
  sqlite3_bind_int64(s, 1, KeysOfPart(part_id_).after + part_samples_ + 1);
  sqlite3_bind_int64(s, 2, MsSinceStart(sample.time.utc_us, start_.utc_us));
  sqlite3_bind_int(s, 3, sample.time.utc_offset_s);
  if (sample.value && !sample.over_range)
    sqlite3_bind_double(s, 4, *sample.value);
  else
    sqlite3_bind_null(s, 4);
  BindText(s, 5, StoredLine(sample.list_line));
  const int rc = sqlite3_step(s);
  sqlite3_reset(s);
  if (rc != SQLITE_DONE) {
    Fail(sqlite3_errmsg(db_.Handle()));
    return;
  }
  ++part_samples_;
  reported_ = false;
}

bool JournalWriter::InsertEvent(const RunEvent& event) {
  Statement insert(db_.Handle(),
                   "INSERT INTO events(run_id, utc_us, utc_offset_s, kind, detail) VALUES(?,?,?,?,?)");
  sqlite3_stmt* s = insert.Get();
  if (!s) return false;
  sqlite3_bind_int64(s, 1, run_id_);
  sqlite3_bind_int64(s, 2, event.time.utc_us);
  sqlite3_bind_int(s, 3, event.time.utc_offset_s);
  sqlite3_bind_text(s, 4, RunEventName(event.kind), -1, SQLITE_STATIC);
  BindText(s, 5, event.detail);
  return sqlite3_step(s) == SQLITE_DONE;
}

void JournalWriter::SetState(const char* state, const WallTime* end) {
  Statement update(db_.Handle(), "UPDATE runs SET state=?, end_us=coalesce(?, end_us) WHERE id=?");
  sqlite3_stmt* s = update.Get();
  if (!s) return;
  sqlite3_bind_text(s, 1, state, -1, SQLITE_STATIC);
  if (end) sqlite3_bind_int64(s, 2, end->utc_us);
  else sqlite3_bind_null(s, 2);
  sqlite3_bind_int64(s, 3, run_id_);
  if (sqlite3_step(s) != SQLITE_DONE) Fail(sqlite3_errmsg(db_.Handle()));
}

void JournalWriter::Event(const RunEvent& event) {
  if (!settings_.enabled) return;
  if (event.kind == RunEventKind::kListCleared) part_open_ = false;
  if (run_id_ == 0 || broken_ || !db_.Handle()) return;
  if (!InsertEvent(event)) {
    Fail(sqlite3_errmsg(db_.Handle()));
    return;
  }
  switch (event.kind) {
    case RunEventKind::kPause: SetState("paused", nullptr); break;
    case RunEventKind::kResume: SetState("recording", nullptr); break;
    case RunEventKind::kStop:
      // The run keeps its id: a save of its list may still follow.
      SetState("finished", &event.time);
      StopSyncWorker();
      break;
    default: break;
  }
}

void JournalWriter::StartSyncWorker() {
  StopSyncWorker();
  sync_stop_ = false;
  sync_run_id_ = run_id_;
  sync_thread_ = std::thread([this] { SyncLoop(); });
}

void JournalWriter::StopSyncWorker() {
  if (!sync_thread_.joinable()) return;
  {
    std::lock_guard lock(sync_mutex_);
    sync_stop_ = true;
  }
  sync_wake_.notify_all();
  sync_thread_.join();
}

// The worker's own connection: the heartbeat and the checkpoint that syncs
// the WAL, so that neither waits on the disk on the caller's thread.
void JournalWriter::SyncLoop() {
  Db db;
  if (!db.Open(path_)) return;
  std::unique_lock lock(sync_mutex_);
  for (;;) {
    const bool stop = sync_wake_.wait_for(lock, kSyncPeriod, [this] { return sync_stop_; });
    const std::int64_t run_id = sync_run_id_;
    lock.unlock();
    {
      Statement beat(db.Handle(), "UPDATE runs SET heartbeat_us=? WHERE id=?");
      if (beat.Ok()) {
        sqlite3_bind_int64(beat.Get(), 1, NowUs());
        sqlite3_bind_int64(beat.Get(), 2, run_id);
        sqlite3_step(beat.Get());
      }
      sqlite3_wal_checkpoint_v2(db.Handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    }
    lock.lock();
    if (stop) return;
  }
}

}  // namespace ql::journal
