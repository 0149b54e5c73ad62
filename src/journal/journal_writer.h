#pragma once
// The journal sink of the real program: every sample committed to SQLite
// before Record() returns, the WAL synced by a worker at least once a second,
// and a heartbeat that tells a run still being recorded from one left behind
// by a crash. A journal that cannot be written is reported once; the run goes
// on and writing is tried again at the next part. A list line is kept as
// stored_line.h says: it reads back filled with blanks to 61 columns.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "journal/journal_db.h"
#include "journal/retention.h"
#include "run/journal_sink.h"

namespace ql::journal {

class JournalWriter : public JournalSink {
 public:
  // `report` receives each failure once, on the caller's thread. With
  // `settings.enabled` false nothing is written; otherwise old runs are
  // removed by `settings` at Open() or the first BeginRun(), never by Record().
  JournalWriter(std::string path, std::function<void(const std::string&)> report,
                JournalSettings settings = {});
  ~JournalWriter() override;

  // Opens the journal now and removes old runs, so that neither happens
  // on the tick; a face calls it before its timer starts. Returns false when
  // the journal is off or cannot be opened (the failure is reported).
  bool Open();

  void BeginRun(const RunInfo& info, WallTime start) override;
  void Record(const JournalSample& sample) override;
  void Event(const RunEvent& event) override;

  // The id of the run last begun, 0 before any or when it could not be
  // written.
  std::int64_t RunId() const { return run_id_; }
  // Returns true iff the last attempt to write failed: the journal misses
  // samples until a later part is written.
  bool Failing() const { return settings_.enabled && broken_; }

 private:
  // Opens the journal unless it is open and sound; old runs are removed at
  // the first successful open that `may_prune`.
  bool EnsureOpen(bool may_prune);
  bool InsertRun();
  bool InsertPart(const JournalSample& first);
  bool InsertEvent(const RunEvent& event);
  void SetState(const char* state, const WallTime* end);
  void Fail(const std::string& what);
  void StartSyncWorker();
  void StopSyncWorker();
  void SyncLoop();

  const std::string path_;
  const std::function<void(const std::string&)> report_;
  const JournalSettings settings_;
  bool retention_done_ = false;
  Db db_;
  std::unique_ptr<Statement> insert_sample_;  // prepared once per connection
  bool broken_ = false;    // writing failed; retried at the next part
  bool reported_ = false;  // a failure was told and no sample written since
  RunInfo info_;
  WallTime start_;
  std::int64_t run_id_ = 0;
  std::int64_t part_id_ = 0;
  std::int64_t part_samples_ = 0;  // samples written to the part so far
  int part_seq_ = 0;
  bool part_open_ = false;

  std::mutex sync_mutex_;
  std::condition_variable sync_wake_;
  bool sync_stop_ = false;
  std::int64_t sync_run_id_ = 0;
  std::thread sync_thread_;
};

// The boot's identity (from /proc), empty when unknown.
std::string CurrentBootId();

}  // namespace ql::journal
