#include <string>

#include "graph/graph_scale.h"
#include "graph/list_columns.h"
#include "print/report.h"
#include "print/report_page.h"
#include "graph/graph_values.h"

namespace ql {
namespace {

constexpr int kLeft = 1800;
constexpr int kBottom = -13000;
constexpr int kSamplePitch = 19;            // 9500 twips across 500 samples
constexpr int kHeight = 8000;               // from the bottom to the top of the scale
constexpr double kTwipFraction = 0.000125;  // 1 / kHeight

void DrawPaperScale(Canvas& canvas, const GraphScale& scale) {
  if (scale.kind == ScaleCase::kLogic) {
    canvas.Text(1500, -7000, "Hi");
    canvas.Text(1400, -8900, "Mid");
    canvas.Text(1500, -10850, "Lo");
    return;
  }
  canvas.Text(scale.noDecimalPoint ? 1200 : 1100, -5100, scale.topText);
  if (!scale.bottomText.empty()) {
    canvas.Text(scale.noDecimalPoint ? 1100 : 1000, -12800, scale.bottomText);
  }
  canvas.Text(1600, scale.bipolar ? -8900 : -12800, "0");
}

// The 9-character function text: "   hFE   " for an hFE line, else the
// label (the name's first 3 characters and the unit part in brackets).
std::string FunctionText(std::string_view line, const GraphScale& scale) {
  if (ColumnChar(line, list_line::kName.At(0)) == 'h' &&
      ColumnChar(line, list_line::kName.At(1)) == 'F') {
    return "   hFE   ";
  }
  return std::string(scale.label, 9);
}

}  // namespace

void DrawReportHeader(Canvas& canvas, int x, const std::string& fileName, int samples, float max,
                      float min) {
  std::string title = "Printing Filename    " + fileName;
  if (title.size() > 99) title.resize(99);
  canvas.Text(x, -1500, title);
  canvas.Text(x, -2500, "Number of Samples  : " + std::to_string(samples));
  canvas.Text(x, -3000, "Value of Maximum   : " + FormatFixed6(static_cast<double>(max)));
  canvas.Text(x, -3500, "Value of Minimum   : " + FormatFixed6(static_cast<double>(min)));
}

void DrawGraphPage(Canvas& canvas, const LineSource& list, int first, int count, bool bars,
                   GraphValues& graphValue) {
  canvas.MoveTo(kLeft, -5000);
  canvas.LineTo(kLeft, kBottom);
  canvas.LineTo(11300, kBottom);

  const std::string scaleLine = list.Line(list.Count() > 1 ? 1 : 0);
  GraphScale scale = ChooseScale(scaleLine, ScaleMedium::kPaper);
  DrawPaperScale(canvas, scale);
  RereadValues(list, first, count, scale, graphValue);

  canvas.Text(kLeft, -4000, "Function & Unit    : " + FunctionText(scaleLine, scale));

  static constexpr int kAxisX[] = {1800, 3500, 5400, 7300, 9200, 11100};
  for (int k = 0; k < 6; ++k) canvas.Text(kAxisX[k], -13100, std::to_string(k));
  canvas.Text(5400, -13500, "100 Samples / Div");

  const int base = scale.bipolar ? -9000 : kBottom;
  for (int i = first; i < first + count; ++i) {
    const int x = kLeft + kSamplePitch * (i - first);
    const int y = kBottom + ScaleUnits(graphValue[static_cast<std::size_t>(i)], scale.max,
                                       scale.min, kTwipFraction, kHeight);
    if (bars) {
      for (int j = 0; j < kSamplePitch; ++j) {
        canvas.SetPixel(x + j, base, kGrey);
        canvas.MoveTo(x + j, base);
        canvas.LineTo(x + j, y);
      }
    } else {
      if (i == first) canvas.MoveTo(kLeft, y);
      canvas.LineTo(x, y);
    }
  }
}

}  // namespace ql
