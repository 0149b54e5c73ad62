#include "graph/graph_scale.h"

#include <algorithm>
#include <cstring>

#include "graph/list_columns.h"
#include "graph/graph_values.h"

namespace ql {
namespace {

// One row per decimal-point position: '.' 2, 3 or 4 characters into the
// value field, none.
struct Family {
  std::array<float, 4> max;
  std::array<std::string_view, 4> top;
  std::array<std::string_view, 4> bottom;  // bipolar families only
};

constexpr Family kFamily4{{4.0f, 40.0f, 400.0f, 4000.0f},
                          {"4.000", "40.00", "400.0", "4000"},
                          {"-4.000", "-40.00", "-400.0", "-4000"}};
constexpr Family kFamily5{
    {5.0f, 50.0f, 500.0f, 5000.0f}, {"5.000", "50.00", "500.0", "5000"}, {"", "", "", ""}};

// 0 for '.' 2 characters into the value field, 1 for 3, 2 for 4, 3 for no point.
int PointIndex(std::string_view line) {
  for (std::size_t k = 0; k < 3; ++k) {
    if (ColumnChar(line, list_line::kValue.At(2 + k)) == '.') return static_cast<int>(k);
  }
  return 3;
}

// The character `k` places into the function name of `line`.
char NameChar(std::string_view line, std::size_t k) {
  return ColumnChar(line, list_line::kName.At(k));
}

void SetFamily(GraphScale& scale, const Family& family, bool bipolar, int point) {
  auto k = static_cast<std::size_t>(point);
  scale.max = family.max[k];
  scale.min = bipolar ? -family.max[k] : 0.0f;
  scale.bipolar = bipolar;
  scale.yFoot = bipolar ? 71 : 135;
  scale.noDecimalPoint = point == 3;
  scale.topText = family.top[k];
  scale.bottomText = bipolar ? family.bottom[k] : std::string_view();
}

void SetFixed(GraphScale& scale, float max, float min, std::string_view top,
              std::string_view bottom) {
  scale.max = max;
  scale.min = min;
  scale.bipolar = min < 0.0f;
  scale.yFoot = scale.bipolar ? 71 : 135;
  scale.noDecimalPoint = top.find('.') == std::string_view::npos;
  scale.topText = top;
  scale.bottomText = bottom;
}

}  // namespace

GraphScale ChooseScale(std::string_view line, ScaleMedium medium) {
  auto c = [&](std::size_t k) { return NameChar(line, k); };
  auto name3 = [&](std::string_view three) {
    return c(0) == three[0] && c(1) == three[1] && c(2) == three[2];
  };
  const int point = PointIndex(line);
  GraphScale scale;
  auto family = [&](ScaleCase kind) {
    scale.kind = kind;
    if (kind == ScaleCase::kU5) {
      SetFamily(scale, kFamily5, false, point);
    } else {
      SetFamily(scale, kFamily4, kind == ScaleCase::kB4, point);
    }
  };
  for (std::size_t k = 0; k < 4; ++k) scale.unitPart[k] = ColumnChar(line, list_line::kUnit.At(k));

  // The names in order of precedence; several share a scale.
  // NOLINTBEGIN(bugprone-branch-clone)
  if (name3("ACV")) {
    family(ScaleCase::kU4);
  } else if (name3("DCV")) {
    family(ScaleCase::kB4);
  } else if (c(0) == 'm' && c(1) == 'V' && c(4) == 'A') {
    family(ScaleCase::kU4);
  } else if (c(0) == 'm' && c(1) == 'V' && c(4) == 'D') {
    family(ScaleCase::kB4);
  } else if (name3("OHM")) {
    family(ScaleCase::kU4);
  } else if (c(0) == 'n' && c(1) == 'S' && c(2) == ' ') {
    family(ScaleCase::kU4);
  } else if (c(3) == 'D' && c(4) == 'I' && c(5) == 'O') {
    scale.kind = ScaleCase::kDiode;
    SetFixed(scale, 4.0f, -4.0f, "4.000", "-4.000");
    scale.reread = &list_line::kDiodeValue;
    std::memcpy(scale.unitPart, "Vdc ", 4);
  } else if (name3("CAP")) {
    family(ScaleCase::kU4);
  } else if (c(0) == 'm' && c(1) == 'A' && c(4) == 'A') {
    family(ScaleCase::kU4);
  } else if (c(0) == 'm' && c(1) == 'A' && c(4) == 'D') {
    family(ScaleCase::kB4);
  } else if (c(0) == '2' && c(1) == '0' && c(5) == 'A') {
    scale.kind = ScaleCase::kAmps20Ac;
    SetFixed(scale, 20.0f, 0.0f, "20.00", "");
  } else if (c(0) == '2' && c(1) == '0' && c(5) == 'D') {
    scale.kind = ScaleCase::kAmps20Dc;
    SetFixed(scale, 20.0f, -20.0f, "20.00", "-20.00");
  } else if (name3("LOG")) {
    scale.kind = ScaleCase::kLogic;
    SetFixed(scale, 2.0f, -2.0f, "", "");
    scale.reread = &list_line::kValue;
    if (medium == ScaleMedium::kScreen) std::memcpy(scale.unitPart, "    ", 4);
  } else if (name3("SIG")) {
    family(ScaleCase::kU5);
  } else if (name3("TEM") || name3("HUM") || name3("PRE") || name3(" A ") || name3("SET") ||
             name3("SEL")) {
    family(ScaleCase::kB4);
  } else if (c(0) == 'F' && c(1) == 'R') {
    family(medium == ScaleMedium::kPaper ? ScaleCase::kU4 : ScaleCase::kU5);
  } else if (c(0) == 'h' && c(1) == 'F') {
    scale.kind = ScaleCase::kHfe;
    SetFixed(scale, 4000.0f, 0.0f, "4000", "");
  } else {
    family(ScaleCase::kB4);
  }
  // NOLINTEND(bugprone-branch-clone)

  char* out = scale.label;
  for (std::size_t k = 0; k < 3; ++k) *out++ = c(k);
  *out++ = '[';
  for (char ch : std::string_view(scale.unitPart, 4)) *out++ = ch;
  *out++ = ']';
  *out = '\0';
  return scale;
}

int ScaleUnits(float value, float max, float min, double unitFraction, int limit) {
  const double step = static_cast<double>(max - min) * unitFraction;
  const double quotient = static_cast<double>(value - min) / step;
  if (quotient >= static_cast<double>(limit)) return limit;
  if (quotient > 0.0) return static_cast<int>(quotient);
  return 0;
}

void DrawScaleTexts(Canvas& canvas, const GraphScale& scale) {
  if (scale.kind == ScaleCase::kLogic) {
    canvas.Text(30, 32, "Hi");
    canvas.Text(20, 62, "Mid");
    canvas.Text(28, 95, "Lo");
    return;
  }
  canvas.Text(scale.noDecimalPoint ? 12 : 7, 2, scale.topText);
  if (!scale.bottomText.empty()) canvas.Text(scale.noDecimalPoint ? 7 : 2, 125, scale.bottomText);
  canvas.Text(35, scale.bipolar ? 62 : 125, "0");
}

void RereadValues(const LineSource& list, int first, int count, GraphScale& scale,
                  GraphValues& values) {
  if (scale.reread == nullptr) return;
  const int end = std::min({first + count, list.Count(), static_cast<int>(values.size())});
  for (int i = std::max(first, 0); i < end; ++i) {
    float v = ValueAt(list.Line(i), *scale.reread);
    values[static_cast<std::size_t>(i)] = v;
    if (v > scale.max) {
      scale.max = v;
    } else if (v < scale.min) {
      scale.min = v;
    }
  }
}

void DrawVerticalLabel(Canvas& canvas, std::string_view line, const GraphScale& scale) {
  auto c = [&](std::size_t k) { return NameChar(line, k); };
  if (c(0) == 'L' && c(1) == 'O' && c(2) == 'G') {
    canvas.VerticalText(8, 102, " LOGIC");
  } else if (c(0) == 'h' && c(1) == 'F') {
    canvas.VerticalText(8, 102, "  hFE ");
  } else {
    canvas.VerticalText(12, 102, std::string_view(scale.label, 9));
  }
}

}  // namespace ql
