#pragma once
// How a sample's list line and time are kept in the journal, smaller than
// the core holds them: the line in UTF-8 without its trailing blanks, the
// time in milliseconds from the run's start. Both come back exactly as the
// list had them for every line the view records (61 columns).

#include <cstdint>
#include <string>
#include <string_view>

#include "base/latin1.h"
#include "base/list_line.h"

namespace ql::journal {

// The stored text of list line `latin1`.
inline std::string StoredLine(std::string_view latin1) {
  const std::size_t end = latin1.find_last_not_of(' ');
  return Latin1ToUtf8(latin1.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

// Appends the list line of stored text `utf8` to `out`: Latin-1, filled
// with blanks to the list's columns.
inline void AppendListLine(std::string& out, std::string_view utf8) {
  const std::size_t begin = out.size();
  AppendUtf8AsLatin1(out, utf8);
  if (out.size() - begin < list_line::kLength) out.resize(begin + list_line::kLength, ' ');
}

inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

// A sample's time as stored: whole milliseconds from the run's start, so
// that the start's milliseconds plus it give the sample's own.
inline std::int64_t MsSinceStart(std::int64_t utc_us, std::int64_t start_us) {
  return FloorDiv(utc_us, 1000) - FloorDiv(start_us, 1000);
}

// The sample's time, UTC microseconds, to the millisecond.
inline std::int64_t SampleUtcUs(std::int64_t start_us, std::int64_t ms) {
  return (FloorDiv(start_us, 1000) + ms) * 1000;
}

}  // namespace ql::journal
