#pragma once
// Turns the decoder's texts into a reading: function class and label, the
// unit rewritten with "ac"/"dc", the value as shown and in base units, the
// number of decimals (the range), and the over-range tests.

#include <string_view>

#include "decode/lcd_decoder.h"

namespace ql {

inline constexpr char kMicroSign = static_cast<char>(0xB5);
inline constexpr char kDegreeSign = static_cast<char>(0xB0);

struct Reading {
  char classLetter = 0;                     // 'A' .. 'Y'; 0 = no class
  char label[21] = "                    ";  // 20 characters, blank-padded
  float value = 0.0f;                       // the display text as a number, in the shown unit
  double scaled = 0.0;                      // the same in base units (V, A, Ohm, ...)
  double factor = 1.0;                      // scaled / value: the prefix and sub-prefix factor
  int decimals = 0;                         // digits after the point: 0 .. 3 from real frames
};

// Classifies the reading that `texts` describes. Rewrites texts.unit (for
// voltage and current classes, and the degree sign for temperature) and
// writes the class letter over texts.code[0]. A result with classLetter 0
// has no class.
Reading Classify(LcdTexts& texts);

// Returns true iff the list of readings records `display` as " OVER ".
// `display` is converted as the standard text-to-number conversion does and
// held in single precision; it is compared once, against the limit of the
// range that `decimals` names (0: 3999, 1: 399.9, 2: 39.99, 3: 3.999;
// frequency 5000, 500, 50, 5). A display exactly at a limit therefore counts
// as the float comparison says: ' 39.99' and ' 3.999' are over, ' 399.9' is
// not. With 4 or more decimals the first digit decides. Classes M and N are
// never over.
bool ListOverRange(std::string_view display, char classLetter, int decimals);
// Returns true iff the meter panel shows "OVER" for `display` (frequency has
// no limits of its own here).
bool PanelOverRange(std::string_view display, char classLetter, int decimals);

}  // namespace ql
