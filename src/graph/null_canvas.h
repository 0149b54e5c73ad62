#pragma once
// A Canvas that draws nowhere: the meter panel of a run nobody looks at.

#include "graph/canvas.h"

namespace ql {

class NullCanvas : public Canvas {
 public:
  void FillRect(int, int, int, int, Rgb) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void SetPixel(int, int, Rgb) override {}
  void Text(int, int, std::string_view) override {}
  void VerticalText(int, int, std::string_view) override {}
  void SetTransparentText(bool) override {}
  void SetBackgroundColour(Rgb) override {}
};

}  // namespace ql
