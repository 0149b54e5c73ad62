#pragma once
// A Canvas that writes down every operation as one line of text, in the
// operation dump that the command-line tool prints and the tests compare:
//
//   rect X1 Y1 X2 Y2 #RRGGBB   filled rectangle with the black default outline
//   moveto X Y
//   lineto X Y                 (end point not drawn)
//   pixel X Y #RRGGBB
//   text X Y "TEXT"            default font, top-left corner at X Y
//   vtext X Y "TEXT"           the vertical label font (turned 90 degrees)
//   bkmode transparent|opaque  text background mode
//   bkcolor #RRGGBB            text background colour
//
// Coordinates are the drawer's logical units. TEXT is UTF-8 (the Latin-1
// bytes 0x80-0xFF of the core become two-byte sequences); `"` and `\` are
// escaped with a backslash, and so that every operation stays on one line a
// line feed, a carriage return and a tab are written as \n, \r and \t and any
// other control byte as \xHH.

#include <string>
#include <string_view>
#include <vector>

#include "graph/canvas.h"

namespace ql {

// "#RRGGBB" in upper-case hexadecimal.
std::string FormatRgb(Rgb colour);

// `text` (Latin-1) as UTF-8 between double quotes, escaped as above.
std::string QuoteDumpText(std::string_view text);

class RecordingCanvas : public Canvas {
 public:
  void FillRect(int x1, int y1, int x2, int y2, Rgb fill) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetPixel(int x, int y, Rgb colour) override;
  void Text(int x, int y, std::string_view text) override;
  void VerticalText(int x, int y, std::string_view text) override;
  void SetTransparentText(bool transparent) override;
  void SetBackgroundColour(Rgb colour) override;

  // The operations recorded since construction or the last Clear(), oldest
  // first, one dump line each (no line end).
  const std::vector<std::string>& Ops() const { return ops_; }
  void Clear() { ops_.clear(); }

 private:
  std::vector<std::string> ops_;
};

}  // namespace ql
