#include "journal/csv_export.h"

#include <charconv>
#include <string_view>
#include <vector>

#include "journal/journal_reader.h"

namespace ql::journal {

namespace {

void AppendField(std::string& out, const unsigned char* raw, char separator) {
  const std::string_view text = raw ? reinterpret_cast<const char*>(raw) : "";
  const char special[] = {'"', '\r', '\n', separator};
  if (text.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
    out += text;
    return;
  }
  out.push_back('"');
  for (char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

// As "%.15g" writes it.
void AppendNumber(std::string& out, double value, bool decimal_comma) {
  char text[40];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15).ptr;
  for (char* c = text; c != end; ++c)
    if (*c == '.' && decimal_comma) *c = ',';
  out.append(text, end);
}

// ISO 8601 times of consecutive samples: the date and time to the second
// change once a second at most, so they are formatted once per second.
class TimeColumn {
 public:
  void Append(std::string& out, std::int64_t utc_us, std::int32_t offset_s) {
    const std::int64_t local_us = utc_us + std::int64_t{offset_s} * 1'000'000;
    std::int64_t second = local_us / 1'000'000;
    std::int64_t micros = local_us % 1'000'000;
    if (micros < 0) {
      micros += 1'000'000;
      --second;
    }
    if (second != second_ || offset_s != offset_s_ || prefix_.empty()) {
      // IsoTime of the whole second gives the date, time and offset.
      const std::string whole = IsoTime(utc_us - micros, offset_s);
      const std::size_t dot = whole.find('.');
      prefix_ = whole.substr(0, dot + 1);
      suffix_ = whole.substr(dot + 4);
      second_ = second;
      offset_s_ = offset_s;
    }
    const int ms = static_cast<int>(micros / 1000);
    out += prefix_;
    out.push_back(static_cast<char>('0' + ms / 100));
    out.push_back(static_cast<char>('0' + ms / 10 % 10));
    out.push_back(static_cast<char>('0' + ms % 10));
    out += suffix_;
  }

 private:
  std::int64_t second_ = 0;
  std::int32_t offset_s_ = 0;
  std::string prefix_, suffix_;
};

}  // namespace

namespace {

struct PartRow {
  std::int64_t id;
  int seq;
  std::string unit, function;
};

// One part's rows; false when the journal cannot be read.
bool AppendPartRows(Db& db, const PartRow& part, const CsvChoices& choices, TimeColumn& time,
                    std::string& csv) {
  const char sep = choices.decimal_comma ? ';' : ',';
  // By part and then id, so the index gives the order and nothing is sorted.
  Statement q(db.Handle(),
              "SELECT utc_us, utc_offset_s, seconds, value, over_range, label FROM samples"
              " WHERE part_id=? ORDER BY id");
  if (!q.Ok()) return false;
  sqlite3_stmt* s = q.Get();
  sqlite3_bind_int64(s, 1, part.id);
  const auto unit = reinterpret_cast<const unsigned char*>(part.unit.c_str());
  const auto function = reinterpret_cast<const unsigned char*>(part.function.c_str());
  char seq[16];
  const std::string_view seq_text(seq, std::to_chars(seq, seq + sizeof seq, part.seq).ptr);
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    time.Append(csv, sqlite3_column_int64(s, 0), sqlite3_column_int(s, 1));
    csv.push_back(sep);
    AppendNumber(csv, sqlite3_column_double(s, 2), choices.decimal_comma);
    csv.push_back(sep);
    if (sqlite3_column_type(s, 3) != SQLITE_NULL)
      AppendNumber(csv, sqlite3_column_double(s, 3), choices.decimal_comma);
    csv.push_back(sep);
    csv += sqlite3_column_int(s, 4) ? "yes" : "no";
    csv.push_back(sep);
    AppendField(csv, unit, sep);
    csv.push_back(sep);
    // The label names what was measured; the part's function stands in
    // when the sample has none.
    const unsigned char* label = sqlite3_column_text(s, 5);
    AppendField(csv, label && *label ? label : function, sep);
    csv.push_back(sep);
    csv += seq_text;
    csv += "\r\n";
  }
  return rc == SQLITE_DONE;
}

}  // namespace

bool ExportRunCsv(Db& db, std::int64_t run_id, int part_seq, const CsvChoices& choices,
                  std::string& csv, std::string& error) {
  const char sep = choices.decimal_comma ? ';' : ',';
  std::vector<PartRow> parts;
  {
    Statement q(db.Handle(),
                "SELECT id, seq, unit, function FROM parts WHERE run_id=? AND (?=0 OR seq=?)"
                " ORDER BY seq");
    if (!q.Ok()) {
      error = sqlite3_errmsg(db.Handle());
      return false;
    }
    sqlite3_stmt* s = q.Get();
    sqlite3_bind_int64(s, 1, run_id);
    sqlite3_bind_int(s, 2, part_seq);
    sqlite3_bind_int(s, 3, part_seq);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
      const auto text = [s](int i) {
        const unsigned char* t = sqlite3_column_text(s, i);
        return std::string(t ? reinterpret_cast<const char*>(t) : "");
      };
      parts.push_back({sqlite3_column_int64(s, 0), sqlite3_column_int(s, 1), text(2), text(3)});
    }
    if (rc != SQLITE_DONE) {
      error = sqlite3_errmsg(db.Handle());
      return false;
    }
  }
  csv.clear();
  if (choices.bom) csv += "\xEF\xBB\xBF";
  const std::string header[] = {"time", "seconds", "value", "over", "unit", "function", "part"};
  for (std::size_t i = 0; i < std::size(header); ++i) csv += (i ? std::string(1, sep) : "") + header[i];
  csv += "\r\n";
  TimeColumn time;
  for (const PartRow& part : parts) {
    if (!AppendPartRows(db, part, choices, time, csv)) {
      error = sqlite3_errmsg(db.Handle());
      return false;
    }
  }
  return true;
}

}  // namespace ql::journal
