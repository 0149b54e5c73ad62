#include "journal/journal_reader.h"

#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "journal/journal_writer.h"

namespace ql::journal {

namespace {

std::string Column(sqlite3_stmt* s, int i) {
  const unsigned char* text = sqlite3_column_text(s, i);
  return text ? reinterpret_cast<const char*>(text) : "";
}

bool ProcessLives(std::int64_t pid) {
  if (pid <= 0) return false;
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

std::string EffectiveState(const std::string& stored, std::int64_t pid,
                           const std::string& boot_id) {
  if (stored != "recording" && stored != "paused") return stored;
  const bool alive = !boot_id.empty() && boot_id == CurrentBootId() && ProcessLives(pid);
  return alive ? stored : "unfinished";
}

std::string IsoTime(std::int64_t utc_us, std::int32_t offset_s) {
  const std::int64_t local_us = utc_us + std::int64_t{offset_s} * 1'000'000;
  std::time_t seconds = local_us / 1'000'000;
  std::int64_t micros = local_us % 1'000'000;
  if (micros < 0) {
    micros += 1'000'000;
    --seconds;
  }
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &tm);
  const int offset_min = (offset_s < 0 ? -offset_s : offset_s) / 60;
  char text[64];
  std::snprintf(text, sizeof text, "%s.%03d%c%02d:%02d", date, static_cast<int>(micros / 1000),
                offset_s < 0 ? '-' : '+', offset_min / 60, offset_min % 60);
  return text;
}

bool JournalReader::Open(const std::string& path) { return db_.OpenReadOnly(path); }

std::vector<RunSummary> JournalReader::Runs() {
  std::vector<RunSummary> runs;
  Statement q(db_.Handle(),
              "SELECT r.id, r.start_us, r.start_offset_s, r.state, r.pid, r.boot_id,"
              " coalesce(r.end_us, (SELECT max(s.utc_us) FROM samples s JOIN parts p"
              "   ON s.part_id=p.id WHERE p.run_id=r.id), r.start_us),"
              " (SELECT count(*) FROM samples s JOIN parts p ON s.part_id=p.id WHERE p.run_id=r.id),"
              " (SELECT count(*) FROM parts p WHERE p.run_id=r.id)"
              " FROM runs r ORDER BY r.id DESC");
  if (!q.Ok()) {
    db_.SetError("cannot read the journal");
    return runs;
  }
  sqlite3_stmt* s = q.Get();
  while (sqlite3_step(s) == SQLITE_ROW) {
    RunSummary run;
    run.id = sqlite3_column_int64(s, 0);
    run.start_us = sqlite3_column_int64(s, 1);
    run.start_offset_s = sqlite3_column_int(s, 2);
    run.state = EffectiveState(Column(s, 3), sqlite3_column_int64(s, 4), Column(s, 5));
    run.last_us = sqlite3_column_int64(s, 6);
    run.samples = sqlite3_column_int64(s, 7);
    run.parts = sqlite3_column_int64(s, 8);
    runs.push_back(run);
  }
  return runs;
}

std::optional<std::int64_t> JournalReader::FindRun(const std::string& text) {
  Statement q(db_.Handle(), text == "last" ? "SELECT max(id) FROM runs"
                                           : "SELECT id FROM runs WHERE id=?");
  if (!q.Ok()) return std::nullopt;
  if (text != "last") {
    char* end = nullptr;
    const long long id = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0') return std::nullopt;
    sqlite3_bind_int64(q.Get(), 1, id);
  }
  if (sqlite3_step(q.Get()) != SQLITE_ROW || sqlite3_column_type(q.Get(), 0) == SQLITE_NULL)
    return std::nullopt;
  return sqlite3_column_int64(q.Get(), 0);
}

std::vector<PartSummary> JournalReader::Parts(std::int64_t run_id) {
  std::vector<PartSummary> parts;
  Statement q(db_.Handle(),
              "SELECT p.id, p.seq, p.function, p.unit, p.range,"
              " (SELECT count(*) FROM samples s WHERE s.part_id=p.id)"
              " FROM parts p WHERE p.run_id=? ORDER BY p.seq");
  if (!q.Ok()) return parts;
  sqlite3_bind_int64(q.Get(), 1, run_id);
  while (sqlite3_step(q.Get()) == SQLITE_ROW) {
    sqlite3_stmt* s = q.Get();
    parts.push_back({sqlite3_column_int64(s, 0), sqlite3_column_int(s, 1), Column(s, 2),
                     Column(s, 3), Column(s, 4), sqlite3_column_int64(s, 5)});
  }
  return parts;
}

std::vector<std::string> JournalReader::PartLines(std::int64_t part_id) {
  std::vector<std::string> lines;
  Statement q(db_.Handle(), "SELECT line FROM samples WHERE part_id=? ORDER BY id");
  if (!q.Ok()) {
    db_.SetError("cannot read the journal");
    return lines;
  }
  sqlite3_bind_int64(q.Get(), 1, part_id);
  int rc;
  while ((rc = sqlite3_step(q.Get())) == SQLITE_ROW) lines.push_back(Column(q.Get(), 0));
  // Half a part is no recovery: say so rather than hand back what was read.
  if (rc != SQLITE_DONE) db_.SetError("cannot read the journal");
  return lines;
}

}  // namespace ql::journal
