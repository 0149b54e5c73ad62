#pragma once
// Reading a stored list line back (its fields are in base/list_line.h).
// Lines read from a file may be shorter than a line built by the sampling
// cycle; a column past the end of a line reads as a blank.

#include <cfloat>
#include <cstddef>
#include <string_view>

#include "base/list_line.h"
#include "base/text_number.h"

namespace ql {

// Returns the character in `column` of `line`, or a blank past its end.
inline char ColumnChar(std::string_view line, std::size_t column) {
  return column < line.size() ? line[column] : ' ';
}

// The text of `field` in `line` (the value or a field of the same width),
// converted like the standard text-to-number conversion (" OVER " gives 0). A number beyond the
// range of a float is held at the largest float of its sign, so every value
// stays finite.
inline float ValueAt(std::string_view line, const list_line::Field& field) {
  constexpr double kLargest = static_cast<double>(FLT_MAX);
  const double value = TextToNumber(list_line::Text(line, field));
  if (value > kLargest) return FLT_MAX;
  if (value < -kLargest) return -FLT_MAX;
  return static_cast<float>(value);
}

}  // namespace ql
