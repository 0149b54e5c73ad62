#pragma once
// The fixed columns of a list line that are read back after the line was
// stored: the value text, the decimal-point positions, the unit text and the
// function name (columns count from 0). Lines read from a file may be shorter
// than a line built by the sampling cycle; a column past the end of a line
// reads as a blank.

#include <cfloat>
#include <cstddef>
#include <string_view>

#include "base/text_number.h"

namespace ql {

inline constexpr std::size_t kValueColumn = 15;  // value text or " OVER "
inline constexpr std::size_t kValueWidth = 6;
inline constexpr std::size_t kDiodeValueColumn = 30;  // value text of a diode line
inline constexpr std::size_t kUnitColumn = 21;        // unit text
inline constexpr std::size_t kUnitWidth = 4;
inline constexpr std::size_t kNameColumn = 41;  // function name, 20 characters

// Returns the character in `column` of `line`, or a blank past its end.
inline char ColumnChar(std::string_view line, std::size_t column) {
  return column < line.size() ? line[column] : ' ';
}

// The 6-character value text starting at `column`, converted like the
// standard text-to-number conversion (" OVER " gives 0). A number beyond the
// range of a float is held at the largest float of its sign, so every value
// stays finite.
inline float ValueAt(std::string_view line, std::size_t column) {
  std::string_view text = column < line.size() ? line.substr(column, kValueWidth) : "";
  double value = TextToNumber(text);
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

}  // namespace ql
