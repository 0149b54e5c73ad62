#pragma once
// A run's samples as CSV that spreadsheets open as numbers: RFC 4180 rows
// (CRLF), ISO 8601 date-time with milliseconds and offset, seconds since the
// run started, the value with '.' and ',' between fields, or with ',' as the
// decimal separator and ';' between fields for locales that write numbers so.
//
//   time,seconds,value,over,unit,function,part
//   2026-12-10T14:02:37.250+01:00,0.5,12.34,no,V,DC,1

#include <cstdint>
#include <string>

#include "journal/journal_db.h"

namespace ql::journal {

struct CsvChoices {
  bool bom = false;            // start with the UTF-8 byte order mark
  bool decimal_comma = false;  // ',' in numbers, ';' between fields
};

// The samples of `run_id` (of part `part_seq` alone when it is > 0).
// Returns false with `error` set when the journal cannot be read.
bool ExportRunCsv(Db& db, std::int64_t run_id, int part_seq, const CsvChoices& choices,
                  std::string& csv, std::string& error);

}  // namespace ql::journal
