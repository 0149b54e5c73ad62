#include "journal/journal_reader.h"

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "journal/journal_writer.h"
#include "journal/schema.h"
#include "journal/stored_line.h"

namespace ql::journal {

namespace {

std::string Column(sqlite3_stmt* s, int i) {
  const unsigned char* text = sqlite3_column_text(s, i);
  return text ? reinterpret_cast<const char*>(text) : "";
}

// A stored text as the core keeps it.
std::string Latin1Column(sqlite3_stmt* s, int i) {
  std::string text;
  AppendUtf8AsLatin1(text, Column(s, i));
  return text;
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

std::string DurationText(std::int64_t us) {
  const std::int64_t s = us < 0 ? 0 : us / 1'000'000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  return text;
}

bool JournalReader::Open(const std::string& path) { return db_.OpenReadOnly(path); }

std::vector<RunSummary> JournalReader::Runs() {
  std::vector<RunSummary> runs;
  Statement q(db_.Handle(),
              "SELECT id, start_us, start_offset_s, end_us, state, pid, boot_id FROM runs"
              " ORDER BY id DESC");
  if (!q.Ok()) {
    db_.SetError("cannot read the journal");
    return runs;
  }
  sqlite3_stmt* s = q.Get();
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    RunSummary run;
    run.id = sqlite3_column_int64(s, 0);
    run.start_us = sqlite3_column_int64(s, 1);
    run.start_offset_s = sqlite3_column_int(s, 2);
    run.state = EffectiveState(Column(s, 4), sqlite3_column_int64(s, 5), Column(s, 6));
    run.part_list = Parts(run.id);
    run.parts = static_cast<std::int64_t>(run.part_list.size());
    std::int64_t last_ms = -1;
    for (const PartSummary& part : run.part_list) {
      run.samples += part.samples;
      last_ms = std::max(last_ms, part.last_ms);
    }
    if (sqlite3_column_type(s, 3) != SQLITE_NULL) {
      run.last_us = sqlite3_column_int64(s, 3);
    } else {
      run.last_us = last_ms >= 0 ? SampleUtcUs(run.start_us, last_ms) : run.start_us;
    }
    runs.push_back(std::move(run));
  }
  if (rc != SQLITE_DONE) db_.SetError("cannot read the journal");
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
              "SELECT id, seq, function, unit, range FROM parts WHERE run_id=? ORDER BY seq");
  // A part's last sample: its number is the part's count of samples.
  Statement last(db_.Handle(),
                 "SELECT id, ms FROM samples WHERE id > ? AND id < ? ORDER BY id DESC LIMIT 1");
  if (!q.Ok() || !last.Ok()) return parts;
  sqlite3_bind_int64(q.Get(), 1, run_id);
  while (sqlite3_step(q.Get()) == SQLITE_ROW) {
    sqlite3_stmt* s = q.Get();
    PartSummary part{sqlite3_column_int64(s, 0), sqlite3_column_int(s, 1), Latin1Column(s, 2),
                     Latin1Column(s, 3), Latin1Column(s, 4)};
    const SampleKeys keys = KeysOfPart(part.id);
    sqlite3_bind_int64(last.Get(), 1, keys.after);
    sqlite3_bind_int64(last.Get(), 2, keys.before);
    if (sqlite3_step(last.Get()) == SQLITE_ROW) {
      part.samples = sqlite3_column_int64(last.Get(), 0) - keys.after;
      part.last_ms = sqlite3_column_int64(last.Get(), 1);
    }
    sqlite3_reset(last.Get());
    parts.push_back(std::move(part));
  }
  return parts;
}

bool JournalReader::ForEachPartLine(std::int64_t part_id,
                                    const std::function<void(std::string_view)>& take) {
  Statement q(db_.Handle(), "SELECT line FROM samples WHERE id > ? AND id < ? ORDER BY id");
  if (!q.Ok()) {
    db_.SetError("cannot read the journal");
    return false;
  }
  const SampleKeys keys = KeysOfPart(part_id);
  sqlite3_bind_int64(q.Get(), 1, keys.after);
  sqlite3_bind_int64(q.Get(), 2, keys.before);
  std::string line;
  int rc;
  while ((rc = sqlite3_step(q.Get())) == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(q.Get(), 0));
    const int bytes = sqlite3_column_bytes(q.Get(), 0);
    line.clear();
    AppendListLine(
        line, text ? std::string_view(text, static_cast<std::size_t>(bytes)) : std::string_view());
    take(line);
  }
  // Half a part is no recovery: say so rather than hand back what was read.
  if (rc != SQLITE_DONE) {
    db_.SetError("cannot read the journal");
    return false;
  }
  return true;
}

std::vector<std::string> JournalReader::PartLines(std::int64_t part_id) {
  std::vector<std::string> lines;
  ForEachPartLine(part_id, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

}  // namespace ql::journal
