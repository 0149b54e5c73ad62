#pragma once
// The fixed layout of a line of the list of readings: 61 characters, one
// field after the other, columns counted from 0. The sampling cycle writes
// lines in this layout; the graph, the report, the reading files and the CLI
// read them back by the same fields. A line read from a file may be shorter
// than 61 characters: a field past its end reads as empty.

#include <array>
#include <cstddef>
#include <string_view>

namespace ql::list_line {

struct Field {
  std::string_view name;
  std::size_t first;  // first column
  std::size_t width;  // characters
  constexpr std::size_t End() const { return first + width; }
  // The column `k` characters into the field.
  constexpr std::size_t At(std::size_t k) const { return first + k; }
};

inline constexpr Field kLead{"lead", 0, 1};        // a blank
inline constexpr Field kTime{"time", 1, 8};        // local time, "%X"
inline constexpr Field kGap{"gap", 9, 2};          // blanks
inline constexpr Field kPrefix{"prefix", 11, 3};   // the panel's prefix field, blank
inline constexpr Field kBlank1{"blank1", 14, 1};   // a blank
inline constexpr Field kValue{"value", 15, 6};     // the display text, or " OVER "
inline constexpr Field kUnit{"unit", 21, 4};       // unit text, micro sign as 0xB5
inline constexpr Field kBlank2{"blank2", 25, 1};   // a blank
inline constexpr Field kSpare{"spare", 26, 3};     // blanks
inline constexpr Field kBlank3{"blank3", 29, 1};   // a blank
inline constexpr Field kField6{"field6", 30, 6};   // the panel's 6-character field
inline constexpr Field kField4{"field4", 36, 4};   // the panel's 4-character field
inline constexpr Field kBlank4{"blank4", 40, 1};   // a blank
inline constexpr Field kName{"name", 41, 20};      // function label, blank-padded

// Every field in the order of its columns.
inline constexpr std::array kFields = {kLead,  kTime,  kGap,   kPrefix, kBlank1,
                                       kValue, kUnit,  kBlank2, kSpare, kBlank3,
                                       kField6, kField4, kBlank4, kName};

inline constexpr std::size_t kLength = 61;

constexpr bool FieldsTile() {
  std::size_t column = 0;
  for (const Field& field : kFields) {
    if (field.first != column || field.width == 0) return false;
    column = field.End();
  }
  return column == kLength;
}
static_assert(FieldsTile(), "the fields of a list line follow each other and make 61 characters");

// The graph's diode scale re-reads its values from the 6-character field.
// The sampling cycle leaves that field blank (and names a diode "DIODE", so
// its own lines never meet that scale); only lines from files can fill it.
inline constexpr Field kDiodeValue = kField6;

// Returns the text of `field` in `line`, cut where the line ends.
constexpr std::string_view Text(std::string_view line, const Field& field) {
  if (field.first >= line.size()) return {};
  return line.substr(field.first, field.width);
}

}  // namespace ql::list_line
