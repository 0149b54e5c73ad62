#include "graph/trend_graph.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "graph/display_form.h"
#include "graph/graph_scale.h"
#include "graph/list_columns.h"
#include "graph/graph_values.h"
#include "graph/panel_geometry.h"

namespace ql {
namespace {

constexpr int kMaxSamples = 500;
constexpr int kLeft = 45;
constexpr int kBottom = 135;
// 129 pixels from the bottom to the top of the scale.
constexpr double kPixelFraction = 0.007751937984496124;

void DrawFrame(Canvas& canvas) {
  canvas.FillRect(0, 0, panel::kRight, panel::kBottom, kGreen);
  canvas.SetTransparentText(true);
  canvas.MoveTo(kLeft, 5);
  canvas.LineTo(kLeft, kBottom);
  canvas.LineTo(445, kBottom);
  for (int k = 1; k <= 5; ++k) {
    canvas.MoveTo(kLeft + 80 * k, 132);
    canvas.LineTo(kLeft + 80 * k, 138);
  }
  for (int k = 0; k <= 5; ++k) canvas.Text(41 + 80 * k, 138, std::to_string(k));
  canvas.Text(185, 152, "100 Samples / Div");
}

}  // namespace

void DrawTrendGraph(Canvas& canvas, const LineSource& list, int form,
                    GraphValues& graphValue, char (&graphLabel)[10]) {
  const int count = list.Count();
  if (count <= 0) return;
  const int n = std::min(count, kMaxSamples);
  for (int i = 0; i < n; ++i) {
    graphValue[static_cast<std::size_t>(i)] = ValueAt(list.Line(count - n + i), list_line::kValue);
  }

  DrawFrame(canvas);

  const std::string scaleLine = list.Line(count > 1 ? 1 : 0);
  GraphScale scale = ChooseScale(scaleLine);
  DrawScaleTexts(canvas, scale);
  RereadValues(list, 0, n, scale, graphValue);
  std::memcpy(graphLabel, scale.label, sizeof graphLabel);
  DrawVerticalLabel(canvas, scaleLine, scale);

  if (form != FORM_LINE && form != FORM_BAR) return;
  for (int i = 0; i < n; ++i) {
    const int x = kLeft + 4 * i / 5;  // 80 pixels per 100 samples, truncated
    const int y = kBottom - ScaleUnits(graphValue[static_cast<std::size_t>(i)], scale.max,
                                       scale.min, kPixelFraction, 129);
    if (form == FORM_BAR) {
      canvas.SetPixel(x, scale.yFoot, kBlue);
      canvas.MoveTo(x, scale.yFoot);
      canvas.LineTo(x, y);
    } else {
      if (i == 0) canvas.MoveTo(kLeft, y);
      canvas.LineTo(x, y);
    }
  }
}

}  // namespace ql
