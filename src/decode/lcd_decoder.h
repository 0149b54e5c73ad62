#pragma once
// Turns one 14-byte display frame (which segments and annunciators of the
// meter's LCD are lit) into the three texts the rest of the system works
// with: the display text, the unit text and the two-letter function code.
// Frame layout: docs/frame.md and base/frame_layout.h.

#include <functional>
#include <string_view>

namespace ql {

// The decoder's output. The function code is not cleared between frames: a
// frame without a function annunciator keeps the code of the one before.
struct LcdTexts {
  // Sign, four digits and '.', or " 40000" for OL. The sign stands just
  // before the first lit character when leading digits are dark ("  -5.0").
  char display[7] = "      ";
  char unit[5] = "    ";  // prefix, Ohm lead, sub-prefix/middle, unit letter
  char code[4] = "   ";   // two letters and a blank; [0] becomes the class letter
};

// Decodes `frame` into `texts`. Returns true iff the frame was accepted; a
// rejected frame (fewer than 14 bytes, or a display character outside the
// allowed set) leaves `texts` unchanged. Only bytes 0 to 12 are read.
// `carrierDetect` is asked only for a temperature frame (on: degrees
// Fahrenheit); an empty one counts as off.
[[nodiscard]] bool DecodeLcdFrame(std::string_view frame, const std::function<bool()>& carrierDetect,
                    LcdTexts& texts);

}  // namespace ql
