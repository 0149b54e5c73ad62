#include "graph/trend_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "graph/display_form.h"
#include "graph/recording_canvas.h"
#include "support/reading_lines.h"
#include "graph/graph_values.h"

namespace ql {
namespace {

using Ops = std::vector<std::string>;
using test_support::ReadingLine;
using test_support::ReadingLines;

struct Drawn {
  Ops ops;
  GraphValues values{};
  char label[10] = {};
};

Drawn Draw(const std::vector<std::string>& lines, int form) {
  Drawn drawn;
  VectorLineSource list(lines);
  RecordingCanvas canvas;
  DrawTrendGraph(canvas, list, form, drawn.values, drawn.label);
  drawn.ops = canvas.Ops();
  return drawn;
}

// The plot operations: everything after the vertical label.
Ops Plot(const Ops& ops) {
  auto label = std::find_if(ops.begin(), ops.end(),
                            [](const std::string& op) { return op.rfind("vtext", 0) == 0; });
  return label == ops.end() ? Ops{} : Ops(label + 1, ops.end());
}

std::string Value(double v) {
  char text[16];
  std::snprintf(text, sizeof text, "%6.3f", v);
  return text;
}

TEST(TrendGraph, DrawsTheWholePanelInTheLineForm) {
  std::vector<std::string> lines = {ReadingLine(" 1.000", " Vdc", "DCV"),
                                    ReadingLine("-2.000", " Vdc", "DCV")};
  Drawn drawn = Draw(lines, FORM_LINE);
  EXPECT_EQ(drawn.ops, (Ops{
                           "rect 0 0 453 172 #00FF00",
                           "bkmode transparent",
                           "moveto 45 5",
                           "lineto 45 135",
                           "lineto 445 135",
                           "moveto 125 132",
                           "lineto 125 138",
                           "moveto 205 132",
                           "lineto 205 138",
                           "moveto 285 132",
                           "lineto 285 138",
                           "moveto 365 132",
                           "lineto 365 138",
                           "moveto 445 132",
                           "lineto 445 138",
                           "text 41 138 \"0\"",
                           "text 121 138 \"1\"",
                           "text 201 138 \"2\"",
                           "text 281 138 \"3\"",
                           "text 361 138 \"4\"",
                           "text 441 138 \"5\"",
                           "text 185 152 \"100 Samples / Div\"",
                           "text 7 2 \"4.000\"",
                           "text 2 125 \"-4.000\"",
                           "text 35 62 \"0\"",
                           "vtext 12 102 \"DCV[ Vdc]\"",
                           // Both samples at x = 45: 1.0 -> u 80, -2.0 -> u 32.
                           "moveto 45 55",
                           "lineto 45 55",
                           "lineto 45 103",
                       }));
  EXPECT_EQ(drawn.values[0], 1.0f);
  EXPECT_EQ(drawn.values[1], -2.0f);
  EXPECT_STREQ(drawn.label, "DCV[ Vdc]");
}

TEST(TrendGraph, PlotsEveryFormOnTheScaleZeroToFour) {
  // ACV with '.' in column 17: 0 .. 4. 2.0 -> 71, 5.0 -> 6, OVER -> 135.
  std::vector<std::string> lines = {
      ReadingLine(" 2.000", " Vac", "ACV"), ReadingLine(" 5.000", " Vac", "ACV"),
      ReadingLine(" OVER ", " Vac", "ACV"), ReadingLine(" 0.000", " Vac", "ACV")};
  EXPECT_EQ(Plot(Draw(lines, FORM_LINE).ops),
            (Ops{"moveto 45 71", "lineto 45 71", "lineto 45 6", "lineto 46 135", "lineto 47 135"}));
  // A bar of a value at the bottom of the scale is its foot pixel alone.
  EXPECT_EQ(Plot(Draw(lines, FORM_BAR).ops),
            (Ops{"pixel 45 135 #0000FF", "moveto 45 135", "lineto 45 71",   //
                 "pixel 45 135 #0000FF", "moveto 45 135", "lineto 45 6",    //
                 "pixel 46 135 #0000FF", "moveto 46 135", "lineto 46 135",  //
                 "pixel 47 135 #0000FF", "moveto 47 135", "lineto 47 135"}));
  // Other forms draw the panel without a plot.
  for (int form : {FORM_NONE, FORM_TEXT, FORM_GRAPHFILE}) {
    Drawn drawn = Draw(lines, form);
    EXPECT_TRUE(Plot(drawn.ops).empty());
    EXPECT_EQ(drawn.ops.back(), "vtext 12 102 \"ACV[ Vac]\"");
  }
}

TEST(TrendGraph, BipolarBarsStandOnTheMiddleLine) {
  std::vector<std::string> lines = {ReadingLine("-1.000", " Vdc", "DCV"),
                                    ReadingLine(" 1.000", " Vdc", "DCV")};
  EXPECT_EQ(Plot(Draw(lines, FORM_BAR).ops),
            (Ops{"pixel 45 71 #0000FF", "moveto 45 71", "lineto 45 87",  //
                 "pixel 45 71 #0000FF", "moveto 45 71", "lineto 45 55"}));
}

TEST(TrendGraph, PlotsTheNewest500LinesAcrossFourHundredPixels) {
  // 600 lines: line k holds the value k / 1000, so the plotted values tell
  // which lines were read.
  std::vector<std::string> lines;
  for (int k = 0; k < 600; ++k) lines.push_back(ReadingLine(Value(k / 1000.0), " Vdc", "DCV"));
  Drawn drawn = Draw(lines, FORM_LINE);
  Ops plot = Plot(drawn.ops);
  ASSERT_EQ(plot.size(), 501u);
  EXPECT_EQ(plot[1].substr(0, 10), "lineto 45 ");
  EXPECT_EQ(plot[2].substr(0, 10), "lineto 45 ");
  EXPECT_EQ(plot[3].substr(0, 10), "lineto 46 ");
  EXPECT_EQ(plot[500].substr(0, 11), "lineto 444 ");
  EXPECT_EQ(drawn.values[0], 0.1f);
  EXPECT_EQ(drawn.values[499], 0.599f);
}

TEST(TrendGraph, LogicPlotsTheOldestLinesAndWidens) {
  // 600 logic lines: the oldest 500 read 1, the newest 100 read -1; the
  // logic scale re-reads lines 0..499, so every point is at 1 (y 39).
  std::vector<std::string> lines = ReadingLines(500, "  1.0 ", " Vdc", "LOGIC");
  for (int k = 0; k < 100; ++k) lines.push_back(ReadingLine(" -1.0 ", " Vdc", "LOGIC"));
  Drawn drawn = Draw(lines, FORM_LINE);
  Ops plot = Plot(drawn.ops);
  ASSERT_EQ(plot.size(), 501u);
  EXPECT_TRUE(std::all_of(plot.begin(), plot.end(),
                          [](const std::string& op) { return op.ends_with(" 39"); }));
  EXPECT_EQ(drawn.ops[drawn.ops.size() - 502], "vtext 8 102 \" LOGIC\"");
  EXPECT_STREQ(drawn.label, "LOG[    ]");

  // A value of 3 widens the top to 3: 3 on row 6, 0 at u = trunc(2 * 129 / 5) = 51.
  std::vector<std::string> wide = {ReadingLine("  3.0 ", " Vdc", "LOGIC"),
                                   ReadingLine("  0.0 ", " Vdc", "LOGIC")};
  EXPECT_EQ(Plot(Draw(wide, FORM_LINE).ops), (Ops{"moveto 45 6", "lineto 45 6", "lineto 45 84"}));
}

TEST(TrendGraph, SingleLineTakesItsScaleFromItself) {
  Drawn drawn = Draw({ReadingLine(" 1234 ", " kHz", "FREQUENCY")}, FORM_BAR);
  EXPECT_NE(std::find(drawn.ops.begin(), drawn.ops.end(), "text 12 2 \"5000\""), drawn.ops.end());
  EXPECT_EQ(Plot(drawn.ops), (Ops{"pixel 45 135 #0000FF", "moveto 45 135", "lineto 45 104"}));
}

TEST(TrendGraph, OutOfRangeNumbersLandOnTheEdges) {
  std::vector<std::string> lines = {ReadingLine("9e99  ", " Vdc", "DCV"),
                                    ReadingLine("-9e99 ", " Vdc", "DCV")};
  EXPECT_EQ(Plot(Draw(lines, FORM_LINE).ops), (Ops{"moveto 45 6", "lineto 45 6", "lineto 45 135"}));
}

TEST(TrendGraph, EmptyListDrawsNothing) {
  Drawn drawn = Draw({}, FORM_LINE);
  EXPECT_TRUE(drawn.ops.empty());
}

}  // namespace
}  // namespace ql
