#include "journal/csv_export.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

#include "journal/journal_reader.h"
#include "journal/schema.h"
#include "journal/stored_line.h"

namespace ql::journal {

namespace {

// ISO 8601 times of consecutive samples: the date and the offset change
// once a day at most, so they are formatted once per day, and the time of
// day is written digit by digit.
class TimeColumn {
 public:
  void Write(CsvRows& rows, std::int64_t utc_us, std::int32_t offset_s) {
    constexpr std::int64_t kSecondsPerDay = 86'400;
    const std::int64_t local_us = utc_us + std::int64_t{offset_s} * 1'000'000;
    const std::int64_t second = FloorDiv(local_us, 1'000'000);
    const std::int64_t day = FloorDiv(second, kSecondsPerDay);
    if (day != day_ || offset_s != offset_s_ || date_.empty()) {
      // IsoTime of the day's first moment: "YYYY-MM-DDT00:00:00.000+hh:mm".
      const std::string midnight = IsoTime((day * kSecondsPerDay - offset_s) * 1'000'000, offset_s);
      date_ = midnight.substr(0, 11);
      offset_ = midnight.substr(23);
      day_ = day;
      offset_s_ = offset_s;
    }
    const auto of_day = static_cast<int>(second - day * kSecondsPerDay);
    const auto ms = static_cast<int>((local_us - second * 1'000'000) / 1000);
    char time[12];
    const int fields[] = {of_day / 3600, of_day / 60 % 60, of_day % 60};
    for (std::size_t i = 0; i < 3; ++i) {
      time[3 * i] = static_cast<char>('0' + fields[i] / 10);
      time[3 * i + 1] = static_cast<char>('0' + fields[i] % 10);
      time[3 * i + 2] = i < 2 ? ':' : '.';
    }
    time[9] = static_cast<char>('0' + ms / 100);
    time[10] = static_cast<char>('0' + ms / 10 % 10);
    time[11] = static_cast<char>('0' + ms % 10);
    text_ = date_;
    text_.append(time, sizeof time);
    text_ += offset_;
    rows.Plain(text_);
  }

 private:
  std::int64_t day_ = 0;
  std::int32_t offset_s_ = 0;
  std::string date_, offset_, text_;
};

// Bytes of a CSV row, to make room for a whole export at once.
constexpr std::size_t kRowBytes = 64;
// The most room taken ahead: the count comes from the samples' keys, which
// a damaged journal may put anywhere; a longer text grows as it is written.
constexpr std::size_t kMostRowsReserved = 4'000'000;

struct PartRow {
  std::int64_t id;
  int seq;
  std::string unit, function;  // UTF-8, as stored
};

std::string Text(sqlite3_stmt* s, int i) {
  const unsigned char* t = sqlite3_column_text(s, i);
  return t ? reinterpret_cast<const char*>(t) : "";
}

// One part's rows; false when the journal cannot be read.
bool AppendPartRows(Db& db, std::int64_t start_us, const PartRow& part, TimeColumn& time,
                    CsvRows& rows) {
  // In the order of their keys, so the table itself gives the order.
  Statement q(db.Handle(),
              "SELECT ms, utc_offset_s, value FROM samples WHERE id > ? AND id < ? ORDER BY id");
  if (!q.Ok()) return false;
  sqlite3_stmt* s = q.Get();
  const SampleKeys keys = KeysOfPart(part.id);
  sqlite3_bind_int64(s, 1, keys.after);
  sqlite3_bind_int64(s, 2, keys.before);
  char seq[16];
  const std::string_view seq_text(
      seq, static_cast<std::size_t>(std::to_chars(seq, seq + sizeof seq, part.seq).ptr - seq));
  const std::string unit = rows.Quoted(part.unit);
  const std::string function = rows.Quoted(part.function);
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    const std::int64_t ms = sqlite3_column_int64(s, 0);
    time.Write(rows, SampleUtcUs(start_us, ms), sqlite3_column_int(s, 1));
    rows.Number(static_cast<double>(ms) / 1000.0);
    const bool over = sqlite3_column_type(s, 2) == SQLITE_NULL;
    if (over) {
      rows.Plain({});
    } else {
      rows.Number(sqlite3_column_double(s, 2));
    }
    rows.Plain(over ? "yes" : "no");
    rows.Plain(unit);
    rows.Plain(function);
    rows.Plain(seq_text);
    rows.EndRow();
  }
  return rc == SQLITE_DONE;
}

}  // namespace

bool ExportRunCsv(Db& db, std::int64_t run_id, int part_seq, const CsvChoices& choices,
                  std::string& csv, std::string& error) {
  std::int64_t start_us = 0;
  std::vector<PartRow> parts;
  {
    Statement run(db.Handle(), "SELECT start_us FROM runs WHERE id=?");
    Statement q(db.Handle(),
                "SELECT id, seq, unit, function FROM parts WHERE run_id=? AND (?=0 OR seq=?)"
                " ORDER BY seq");
    if (!run.Ok() || !q.Ok()) {
      error = sqlite3_errmsg(db.Handle());
      return false;
    }
    sqlite3_bind_int64(run.Get(), 1, run_id);
    if (sqlite3_step(run.Get()) != SQLITE_ROW) {
      error = "no run " + std::to_string(run_id) + " in the journal";
      return false;
    }
    start_us = sqlite3_column_int64(run.Get(), 0);
    sqlite3_stmt* s = q.Get();
    sqlite3_bind_int64(s, 1, run_id);
    sqlite3_bind_int(s, 2, part_seq);
    sqlite3_bind_int(s, 3, part_seq);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
      parts.push_back(
          {sqlite3_column_int64(s, 0), sqlite3_column_int(s, 1), Text(s, 2), Text(s, 3)});
    if (rc != SQLITE_DONE) {
      error = sqlite3_errmsg(db.Handle());
      return false;
    }
  }
  csv.clear();
  {
    Statement last(db.Handle(), "SELECT max(id) FROM samples WHERE id > ? AND id < ?");
    std::size_t samples = 0;
    for (const PartRow& part : parts) {
      const SampleKeys keys = KeysOfPart(part.id);
      sqlite3_bind_int64(last.Get(), 1, keys.after);
      sqlite3_bind_int64(last.Get(), 2, keys.before);
      if (last.Ok() && sqlite3_step(last.Get()) == SQLITE_ROW)
        samples = std::min(samples + static_cast<std::size_t>(std::max<std::int64_t>(
                                         0, sqlite3_column_int64(last.Get(), 0) - keys.after)),
                           kMostRowsReserved);
      sqlite3_reset(last.Get());
    }
    csv.reserve((samples + 1) * kRowBytes);
  }
  CsvRows rows(csv, choices);
  for (const char* name : {"time", "seconds", "value", "over", "unit", "function", "part"})
    rows.Plain(name);
  rows.EndRow();
  TimeColumn time;
  for (const PartRow& part : parts) {
    if (!AppendPartRows(db, start_us, part, time, rows)) {
      error = sqlite3_errmsg(db.Handle());
      return false;
    }
  }
  return true;
}

}  // namespace ql::journal
