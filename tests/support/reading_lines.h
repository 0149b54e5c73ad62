#pragma once
// Builders of list lines for the tests of the code that reads them back
// (trend graph, printed report, data files): the 61-character layout of a
// recorded sample, with the time in columns 1-8, the value text in 15-20,
// the unit text in 21-24 and the function name from column 41.

#include <string>
#include <string_view>
#include <vector>

namespace ql::testing {

// REQUIRES: value has 6 characters, unit 4, name at most 20.
inline std::string ReadingLine(std::string_view value, std::string_view unit, std::string_view name,
                               std::string_view time = "12:00:00") {
  std::string line = " " + std::string(time) + std::string(6, ' ') + std::string(value) +
                     std::string(unit) + std::string(16, ' ') + std::string(name);
  line.resize(61, ' ');
  return line;
}

// `lines` copies of ReadingLine(value, unit, name).
inline std::vector<std::string> ReadingLines(int lines, std::string_view value,
                                             std::string_view unit, std::string_view name) {
  return std::vector<std::string>(static_cast<std::size_t>(lines), ReadingLine(value, unit, name));
}

// `line` with `text` written over it from `column` on.
inline std::string WithColumns(std::string line, std::size_t column, std::string_view text) {
  if (line.size() < column + text.size()) line.resize(column + text.size(), ' ');
  line.replace(column, text.size(), text);
  return line;
}

}  // namespace ql::testing
