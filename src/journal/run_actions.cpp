#include "journal/run_actions.h"

#include <filesystem>
#include <system_error>

#include "journal/journal_db.h"
#include "journal/journal_reader.h"

namespace ql::journal {

namespace {

std::string Text(sqlite3_stmt* s, int i) {
  const unsigned char* t = sqlite3_column_text(s, i);
  return t ? reinterpret_cast<const char*>(t) : "";
}

}  // namespace

Status DeleteRun(const std::string& path, std::int64_t run_id) {
  Db db;
  if (!db.Open(path)) return Status::IoError(db.Error());
  Statement q(db.Handle(), "SELECT state, pid, boot_id FROM runs WHERE id=?");
  if (!q.Ok()) return Status::IoError("cannot read the journal " + path);
  sqlite3_bind_int64(q.Get(), 1, run_id);
  if (sqlite3_step(q.Get()) != SQLITE_ROW)
    return Status::NotFound("no run " + std::to_string(run_id) + " in the journal");
  const std::string state =
      EffectiveState(Text(q.Get(), 0), sqlite3_column_int64(q.Get(), 1), Text(q.Get(), 2));
  sqlite3_reset(q.Get());
  if (state == "recording" || state == "paused")
    return Status::Busy("run " + std::to_string(run_id) + " is still being recorded");
  Statement remove(db.Handle(), "DELETE FROM runs WHERE id=?");
  if (!remove.Ok()) return Status::IoError("cannot delete run " + std::to_string(run_id));
  sqlite3_bind_int64(remove.Get(), 1, run_id);
  if (sqlite3_step(remove.Get()) != SQLITE_DONE) {
    db.SetError("cannot delete run " + std::to_string(run_id));
    return Status::IoError(db.Error());
  }
  return Status::Ok();
}

Status TakeUnfinishedRuns(const std::string& path, std::vector<std::int64_t>& run_ids) {
  run_ids.clear();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return Status::Ok();
  Db db;
  if (!db.Open(path)) return Status::IoError(db.Error());
  Statement q(db.Handle(),
              "SELECT id, state, pid, boot_id FROM runs WHERE state IN ('recording', 'paused')"
              " ORDER BY id");
  Statement mark(db.Handle(), "UPDATE runs SET state='unfinished' WHERE id=? AND state=?");
  if (!q.Ok() || !mark.Ok()) return Status::IoError("cannot read the journal " + path);
  std::vector<std::pair<std::int64_t, std::string>> left;
  while (sqlite3_step(q.Get()) == SQLITE_ROW) {
    const std::string stored = Text(q.Get(), 1);
    if (EffectiveState(stored, sqlite3_column_int64(q.Get(), 2), Text(q.Get(), 3)) == "unfinished")
      left.emplace_back(sqlite3_column_int64(q.Get(), 0), stored);
  }
  for (const auto& [id, stored] : left) {
    sqlite3_bind_int64(mark.Get(), 1, id);
    sqlite3_bind_text(mark.Get(), 2, stored.c_str(), -1, SQLITE_TRANSIENT);
    const int rc = sqlite3_step(mark.Get());
    sqlite3_reset(mark.Get());
    if (rc != SQLITE_DONE) {
      db.SetError("cannot note the unfinished runs");
      return Status::IoError(db.Error());
    }
    // Another program that took it first tells of it.
    if (sqlite3_changes(db.Handle()) == 1) run_ids.push_back(id);
  }
  return Status::Ok();
}

}  // namespace ql::journal
