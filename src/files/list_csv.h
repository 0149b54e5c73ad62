#pragma once
// The list of readings as CSV, for lines that know only their time of day
// (a reading file, the list on screen), with the choices of csv_text.h:
//
//   time,seconds,value,over,unit,function
//   14:02:37,0,12.34,no,Vdc,DCV
//   14:02:38,1,12.35,no,Vdc,DCV
//
// time is the line's local time as it stands, HH:MM:SS without a date;
// seconds counts from the first line's time, a time earlier than the one
// before it taken as past midnight; value is empty and over "yes" for an
// over-range line; unit and function are the line's unit text and label.

#include <string>

#include "base/line_source.h"
#include "files/csv_text.h"

namespace ql {

// The CSV of `lines`, header row first.
std::string ListCsv(const LineSource& lines, const CsvChoices& choices);

}  // namespace ql
