#pragma once
// Builders of list lines for the tests of the code that reads them back
// (trend graph, printed report, data files, the CLI): the layout of a
// recorded sample (base/list_line.h), blank but for the fields given.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/list_line.h"

namespace ql::test_support {

// `line` with `text` written over `field`, cut to its width.
inline std::string WithField(std::string line, const list_line::Field& field,
                             std::string_view text) {
  line.replace(field.first, std::min(text.size(), field.width), text.substr(0, field.width));
  return line;
}

// REQUIRES: value has 6 characters, unit 4, name at most 20, time 8.
inline std::string ReadingLine(std::string_view value, std::string_view unit, std::string_view name,
                               std::string_view time = "12:00:00") {
  std::string line(list_line::kLength, ' ');
  line = WithField(line, list_line::kTime, time);
  line = WithField(line, list_line::kValue, value);
  line = WithField(line, list_line::kUnit, unit);
  return WithField(line, list_line::kName, name);
}

// `lines` copies of ReadingLine(value, unit, name).
inline std::vector<std::string> ReadingLines(int lines, std::string_view value,
                                             std::string_view unit, std::string_view name) {
  return std::vector<std::string>(static_cast<std::size_t>(lines), ReadingLine(value, unit, name));
}

}  // namespace ql::test_support
