#pragma once
// A run's samples as CSV (files/csv_text.h: the byte order mark, '.' and ','
// or a locale's decimal separator and ';'), one row a sample:
//
//   time,seconds,value,over,unit,function,part
//   2026-12-10T14:02:37.250+01:00,0.5,12.34,no,V,DC,1
//
// time is ISO 8601 with milliseconds and the offset from UTC; seconds count
// from the run's start; value is empty when over range.

#include <cstdint>
#include <string>

#include "files/csv_text.h"
#include "journal/journal_db.h"

namespace ql::journal {

// The samples of `run_id` (of part `part_seq` alone when it is > 0).
// Returns false with `error` set when the journal cannot be read.
bool ExportRunCsv(Db& db, std::int64_t run_id, int part_seq, const CsvChoices& choices,
                  std::string& csv, std::string& error);

}  // namespace ql::journal
