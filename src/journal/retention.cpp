#include "journal/retention.h"

#include <vector>

#include "journal/journal_reader.h"

namespace ql::journal {

namespace {

constexpr const char kSection[] = "Journal";
constexpr std::int64_t kUsPerDay = 86'400'000'000;
constexpr std::int64_t kBytesPerMb = std::int64_t{1024} * 1024;

struct Candidate {
  std::int64_t id = 0;
  std::int64_t last_us = 0;
};

// Runs that may go, oldest first: not the newest, not one still recorded.
bool Candidates(Db& db, std::vector<Candidate>& out) {
  Statement q(db.Handle(),
              "SELECT id, coalesce(end_us, max(heartbeat_us, start_us)), state, pid, boot_id"
              " FROM runs WHERE id < (SELECT max(id) FROM runs) ORDER BY id");
  if (!q.Ok()) return false;
  sqlite3_stmt* s = q.Get();
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    const unsigned char* state = sqlite3_column_text(s, 2);
    const unsigned char* boot = sqlite3_column_text(s, 4);
    const std::string effective =
        EffectiveState(state ? reinterpret_cast<const char*>(state) : "",
                       sqlite3_column_int64(s, 3), boot ? reinterpret_cast<const char*>(boot) : "");
    if (effective == "recording" || effective == "paused") continue;
    out.push_back({sqlite3_column_int64(s, 0), sqlite3_column_int64(s, 1)});
  }
  return rc == SQLITE_DONE;
}

// Bytes in pages that hold data; freed pages are reused, so they do not count.
std::int64_t UsedBytes(Db& db) {
  Statement q(db.Handle(),
              "SELECT (SELECT page_count FROM pragma_page_count())"
              " - (SELECT freelist_count FROM pragma_freelist_count()),"
              " (SELECT page_size FROM pragma_page_size())");
  if (!q.Ok() || sqlite3_step(q.Get()) != SQLITE_ROW) return -1;
  return sqlite3_column_int64(q.Get(), 0) * sqlite3_column_int64(q.Get(), 1);
}

bool Remove(Db& db, std::int64_t id) {
  Statement d(db.Handle(), "DELETE FROM runs WHERE id=?");
  if (!d.Ok()) return false;
  sqlite3_bind_int64(d.Get(), 1, id);
  return sqlite3_step(d.Get()) == SQLITE_DONE;
}

}  // namespace

JournalSettings ReadJournalSettings(ProfileStore& store) {
  JournalSettings settings;
  settings.enabled = store.GetInt(kSection, "Enabled", 1) != 0;
  const int days = store.GetInt(kSection, "KeepDays", settings.keep_days);
  if (days >= 0) settings.keep_days = days;
  const int mb = store.GetInt(kSection, "MaxMB", settings.max_mb);
  if (mb > 0) settings.max_mb = mb;
  return settings;
}

int ApplyRetention(Db& db, const JournalSettings& settings, std::int64_t now_us,
                   std::string& error) {
  std::vector<Candidate> candidates;
  if (!Candidates(db, candidates)) {
    db.SetError("cannot read the journal's runs");
    error = db.Error();
    return -1;
  }
  int removed = 0;
  const auto remove = [&](std::int64_t id) {
    if (Remove(db, id)) return ++removed, true;
    db.SetError("cannot remove an old run");
    error = db.Error();
    return false;
  };
  std::vector<Candidate> kept;
  const std::int64_t cutoff = now_us - std::int64_t{settings.keep_days} * kUsPerDay;
  for (const Candidate& run : candidates) {
    if (settings.keep_days > 0 && run.last_us < cutoff) {
      if (!remove(run.id)) return -1;
    } else {
      kept.push_back(run);
    }
  }
  const std::int64_t limit = std::int64_t{settings.max_mb} * kBytesPerMb;
  for (const Candidate& run : kept) {
    const std::int64_t used = UsedBytes(db);
    if (used < 0) {
      db.SetError("cannot measure the journal");
      error = db.Error();
      return -1;
    }
    if (used <= limit) break;
    if (!remove(run.id)) return -1;
  }
  return removed;
}

}  // namespace ql::journal
