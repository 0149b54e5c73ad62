#include "journal/csv_export.h"

#include <cstdio>

#include "journal/journal_reader.h"

namespace ql::journal {

namespace {

void AppendField(std::string& out, const unsigned char* raw, char separator) {
  const std::string text = raw ? reinterpret_cast<const char*>(raw) : "";
  if (text.find_first_of(std::string("\"\r\n") + separator) == std::string::npos) {
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

void AppendNumber(std::string& out, double value, bool decimal_comma) {
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", value);
  for (char* c = text; *c; ++c)
    if (*c == '.' && decimal_comma) *c = ',';
  out += text;
}

}  // namespace

bool ExportRunCsv(Db& db, std::int64_t run_id, int part_seq, const CsvChoices& choices,
                  std::string& csv, std::string& error) {
  const char sep = choices.decimal_comma ? ';' : ',';
  Statement q(db.Handle(),
              "SELECT s.utc_us, s.utc_offset_s, s.seconds, s.value, s.over_range, p.unit,"
              " s.label, p.function, p.seq FROM samples s JOIN parts p ON s.part_id=p.id"
              " WHERE p.run_id=? AND (?=0 OR p.seq=?) ORDER BY s.id");
  if (!q.Ok()) {
    error = sqlite3_errmsg(db.Handle());
    return false;
  }
  sqlite3_stmt* s = q.Get();
  sqlite3_bind_int64(s, 1, run_id);
  sqlite3_bind_int(s, 2, part_seq);
  sqlite3_bind_int(s, 3, part_seq);
  csv.clear();
  if (choices.bom) csv += "\xEF\xBB\xBF";
  const std::string header[] = {"time", "seconds", "value", "over", "unit", "function", "part"};
  for (std::size_t i = 0; i < std::size(header); ++i) csv += (i ? std::string(1, sep) : "") + header[i];
  csv += "\r\n";
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    csv += IsoTime(sqlite3_column_int64(s, 0), sqlite3_column_int(s, 1));
    csv.push_back(sep);
    AppendNumber(csv, sqlite3_column_double(s, 2), choices.decimal_comma);
    csv.push_back(sep);
    if (sqlite3_column_type(s, 3) != SQLITE_NULL)
      AppendNumber(csv, sqlite3_column_double(s, 3), choices.decimal_comma);
    csv.push_back(sep);
    csv += sqlite3_column_int(s, 4) ? "yes" : "no";
    csv.push_back(sep);
    AppendField(csv, sqlite3_column_text(s, 5), sep);
    csv.push_back(sep);
    // The label names what was measured; the part's function stands in
    // when the sample has none.
    const unsigned char* label = sqlite3_column_text(s, 6);
    AppendField(csv, label && *label ? label : sqlite3_column_text(s, 7), sep);
    csv.push_back(sep);
    csv += std::to_string(sqlite3_column_int(s, 8));
    csv += "\r\n";
  }
  if (rc != SQLITE_DONE) {
    error = sqlite3_errmsg(db.Handle());
    return false;
  }
  return true;
}

}  // namespace ql::journal
