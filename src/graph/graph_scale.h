#pragma once
// The fixed vertical scale of the trend graph. There is no automatic
// scaling: one list line (the scale line) picks a full-scale range from its
// function name (columns 41 on) and the position of its decimal point
// (columns 17, 18, 19), and gives the scale texts and the function label.
// The screen graph and the printed report share the choice; the report
// differs only where ScaleMedium::kPaper says.

#include <array>
#include <string_view>

#include "base/line_source.h"
#include "base/list_line.h"
#include "graph/canvas.h"
#include "graph/graph_values.h"

namespace ql {

enum class ScaleCase {
  kU4,        // unipolar, 4 / 40 / 400 / 4000 by the decimal point
  kB4,        // bipolar, -4..4 / -40..40 / -400..400 / -4000..4000
  kU5,        // unipolar, 5 / 50 / 500 / 5000
  kAmps20Ac,  // 0 .. 20
  kAmps20Dc,  // -20 .. 20
  kHfe,       // 0 .. 4000
  kLogic,     // -2 .. 2, widened by the values
  kDiode,     // -4 .. 4, widened by the values
};

enum class ScaleMedium {
  kScreen,
  // The printed report: a frequency line takes the 4/40/400/4000 unipolar
  // scale instead of the 5/50/500/5000 one, and a logic line keeps its unit
  // text in the label.
  kPaper,
};

struct GraphScale {
  ScaleCase kind = ScaleCase::kB4;
  float max = 4.0f;             // value at the top of the plot area
  float min = -4.0f;            // value at the bottom of the plot area
  int yFoot = 71;               // panel line the bars stand on: 135 unipolar, 71 otherwise
  bool bipolar = true;          // the zero text sits on the middle line
  bool noDecimalPoint = false;  // the top text is a whole number ("4000")
  std::string_view topText;     // "4.000" ...; empty for logic
  std::string_view bottomText;  // "-4.000" ...; empty when the scale starts at 0
  // The field that the logic and diode cases read again from the oldest
  // lines (the value or the 6-character field); none in every other case.
  const list_line::Field* reread = nullptr;
  char unitPart[5] = "    ";  // goes between the brackets of the label
  // `m_szGraphLabel`: the first 3 characters of the name, '[', the unit
  // part, ']', NUL.
  char label[10] = {};
};

// The scale that `scaleLine` picks. Columns past the end of a short line
// read as blanks.
GraphScale ChooseScale(std::string_view scaleLine, ScaleMedium medium = ScaleMedium::kScreen);

// The height of `value` above `min` in plot units: trunc((value - min) /
// s) with s = (max - min) * unitFraction, limited to 0 .. limit. The
// difference is taken in single precision and s in double, as the plots have
// always computed it; the limits are applied before the conversion to int,
// so any value, however far out, lands on an edge, and a quotient that is
// not a number (a scale without height) gives 0.
int ScaleUnits(float value, float max, float min, double unitFraction, int limit);

// Draws the scale texts of `scale` at their panel positions (default font).
void DrawScaleTexts(Canvas& canvas, const GraphScale& scale);

// Logic and diode scales: replaces values[first .. first+count-1] by the
// value texts in scale.reread of list lines first .. first+count-1
// and widens max and min to take them in (a value above max becomes max,
// else one below min becomes min). Does nothing for the other scales.
// REQUIRES: 0 <= first, first + count <= min(list.Count(), 500).
void RereadValues(const LineSource& list, int first, int count, GraphScale& scale,
                  GraphValues& values);

// Draws the vertical function label on the panel in the label font:
// " LOGIC" at (8, 102) for a logic line, "  hFE " at (8, 102) for an hFE
// line, else scale.label at (12, 102).
void DrawVerticalLabel(Canvas& canvas, std::string_view scaleLine, const GraphScale& scale);

}  // namespace ql
