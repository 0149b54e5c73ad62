#pragma once
// A drawing surface in the logical units of whoever draws on it: panel
// pixels (y down) for the meter panel, twips (y up, negative) for a printed
// page. The operations are the few the drawing rules use; the faces realise
// them on QPainter, and tests record them (recording_canvas.h).

#include <cstdint>
#include <string_view>

namespace ql {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kGrey{127, 127, 127};
inline constexpr Rgb kCyan{0, 255, 255};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Rectangle from (x1, y1) to (x2, y2), x2 and y2 excluded, filled with
  // `fill` and outlined with the default black pen.
  virtual void FillRect(int x1, int y1, int x2, int y2, Rgb fill) = 0;
  virtual void MoveTo(int x, int y) = 0;
  // Line from the current point to (x, y), the end point not drawn; (x, y)
  // becomes the current point.
  virtual void LineTo(int x, int y) = 0;
  virtual void SetPixel(int x, int y, Rgb colour) = 0;
  // Text (single-byte Latin-1, 0xB5 micro, 0xB0 degree) with its top-left
  // corner at (x, y), in the default font.
  virtual void Text(int x, int y, std::string_view text) = 0;
  // Text in the vertical label font, turned 90 degrees to read bottom to top.
  virtual void VerticalText(int x, int y, std::string_view text) = 0;
  // Text background: transparent, or opaque in the background colour.
  virtual void SetTransparentText(bool transparent) = 0;
  virtual void SetBackgroundColour(Rgb colour) = 0;
};

}  // namespace ql
