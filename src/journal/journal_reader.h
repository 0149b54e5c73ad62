#pragma once
// Reading the journal back: its runs with their state, a run's parts, a
// part's list lines. Opens the file read-only and never changes it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_db.h"

namespace ql::journal {

// Texts are the core's, Latin-1.
struct PartSummary {
  std::int64_t id = 0;
  int seq = 0;
  std::string function, unit, range;
  std::int64_t samples = 0;
  std::int64_t last_ms = -1;  // the last sample's time from the run's start; -1: none
};

struct RunSummary {
  std::int64_t id = 0;
  std::int64_t start_us = 0;
  std::int32_t start_offset_s = 0;
  std::int64_t last_us = 0;  // end, else the last sample's time, else start
  std::int64_t samples = 0;
  std::int64_t parts = 0;
  std::string state;  // finished, paused, recording or unfinished
  std::vector<PartSummary> part_list;
};

class JournalReader {
 public:
  bool Open(const std::string& path);
  const std::string& Error() const { return db_.Error(); }
  Db& Database() { return db_; }

  // Newest first, each with its parts. Empty with Error() set when the file
  // cannot be read.
  std::vector<RunSummary> Runs();
  // `text` is a run id or "last"; empty when there is no such run.
  std::optional<std::int64_t> FindRun(const std::string& text);
  std::vector<PartSummary> Parts(std::int64_t run_id);
  // A part's samples as the list lines they were recorded as; Error() is set
  // when they could not all be read.
  std::vector<std::string> PartLines(std::int64_t part_id);
  // The same, one line at a time (Latin-1, valid during the call). Returns
  // false with Error() set when they could not all be read.
  bool ForEachPartLine(std::int64_t part_id, const std::function<void(std::string_view)>& take);

 private:
  Db db_;
};

// "recording" stays so only while the process that writes it lives on this
// boot; otherwise the run was left behind and is "unfinished".
std::string EffectiveState(const std::string& stored, std::int64_t pid, const std::string& boot_id);

// ISO 8601 with milliseconds and offset: 2026-12-10T14:02:37.250+01:00.
std::string IsoTime(std::int64_t utc_us, std::int32_t offset_s);

// A run's length as H:MM:SS; a negative one is 0:00:00.
std::string DurationText(std::int64_t us);

}  // namespace ql::journal
