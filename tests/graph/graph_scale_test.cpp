#include "graph/graph_scale.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/recording_canvas.h"
#include "support/reading_lines.h"
#include "graph/graph_values.h"

namespace ql {
namespace {

using Ops = std::vector<std::string>;
using test_support::ReadingLine;
using test_support::WithField;

struct ScaleCaseRow {
  const char* what;
  std::string line;
  float max;
  float min;
  int yFoot;
  Ops texts;
  std::string label;
};

Ops ScreenTexts(const GraphScale& scale) {
  RecordingCanvas canvas;
  DrawScaleTexts(canvas, scale);
  return canvas.Ops();
}

const Ops kU4Point17{"text 7 2 \"4.000\"", "text 35 125 \"0\""};
const Ops kB4Point18{"text 7 2 \"40.00\"", "text 2 125 \"-40.00\"", "text 35 62 \"0\""};

TEST(GraphScale, EachFunctionPicksItsScaleAndTexts) {
  const ScaleCaseRow rows[] = {
      {"ACV, point in 17", ReadingLine(" 1.234", " Vac", "ACV"), 4, 0, 135, kU4Point17,
       "ACV[ Vac]"},
      {"DCV, point in 18", ReadingLine(" 12.34", " Vdc", "DCV"), 40, -40, 71, kB4Point18,
       "DCV[ Vdc]"},
      {"mV [AC]", ReadingLine(" 1.234", "mVac", "mV [AC]"), 4, 0, 135, kU4Point17, "mV [mVac]"},
      {"mV [DC], point in 19",
       ReadingLine("-123.4", "mVdc", "mV [DC]"),
       400,
       -400,
       71,
       {"text 7 2 \"400.0\"", "text 2 125 \"-400.0\"", "text 35 62 \"0\""},
       "mV [mVdc]"},
      {"OHM, no point",
       ReadingLine(" 1234 ", "kOhm", "OHM"),
       4000,
       0,
       135,
       {"text 12 2 \"4000\"", "text 35 125 \"0\""},
       "OHM[kOhm]"},
      {"nS",
       ReadingLine(" 12.34", "  nS", "nS"),
       40,
       0,
       135,
       {"text 7 2 \"40.00\"", "text 35 125 \"0\""},
       "nS [  nS]"},
      {"CAPACITANCE", ReadingLine(" 1.234", "  nF", "CAPACITANCE"), 4, 0, 135, kU4Point17,
       "CAP[  nF]"},
      {"mA [AC] as mV [AC]", ReadingLine(" 1.234", "mAac", "mA [AC]"), 4, 0, 135, kU4Point17,
       "mA [mAac]"},
      {"mA [DC]", ReadingLine(" 12.34", "mAdc", "mA [DC]"), 40, -40, 71, kB4Point18, "mA [mAdc]"},
      {"20A [AC] ignores the point",
       ReadingLine(" 1.234", " Aac", "20A [AC]"),
       20,
       0,
       135,
       {"text 7 2 \"20.00\"", "text 35 125 \"0\""},
       "20A[ Aac]"},
      {"20A [DC]",
       ReadingLine(" 12.34", " Adc", "20A [DC]"),
       20,
       -20,
       71,
       {"text 7 2 \"20.00\"", "text 2 125 \"-20.00\"", "text 35 62 \"0\""},
       "20A[ Adc]"},
      {"LOGIC",
       ReadingLine(" 1.234", " Vdc", "LOGIC"),
       2,
       -2,
       71,
       {"text 30 32 \"Hi\"", "text 20 62 \"Mid\"", "text 28 95 \"Lo\""},
       "LOG[    ]"},
      {"SIGNAL OUT",
       ReadingLine(" 12.34", " Vdc", "SIGNAL OUT"),
       50,
       0,
       135,
       {"text 7 2 \"50.00\"", "text 35 125 \"0\""},
       "SIG[ Vdc]"},
      {"TEMPERATURE, point in 19",
       ReadingLine(" 120.5",
                   "  \xB0"
                   "C",
                   "TEMPERATURE"),
       400,
       -400,
       71,
       {"text 7 2 \"400.0\"", "text 2 125 \"-400.0\"", "text 35 62 \"0\""},
       "TEM[  \xB0"
       "C]"},
      {"HUMIDITY", ReadingLine(" 12.34", "  % ", "HUMIDITY[REL]/ AUX"), 40, -40, 71, kB4Point18,
       "HUM[  % ]"},
      {"PRESSURE", ReadingLine(" 12.34", " bar", "PRESSURE / AUX"), 40, -40, 71, kB4Point18,
       "PRE[ bar]"},
      {"A [CURRENT]", ReadingLine(" 12.34", " Adc", " A [CURRENT] / AUX"), 40, -40, 71, kB4Point18,
       " A [ Adc]"},
      {"SETUP", ReadingLine(" 12.34", "    ", "SETUP / INSTALL"), 40, -40, 71, kB4Point18,
       "SET[    ]"},
      {"SELF TEST", ReadingLine(" 12.34", "    ", "SELF TEST / INSTALL"), 40, -40, 71, kB4Point18,
       "SEL[    ]"},
      {"FREQUENCY, no point",
       ReadingLine(" 1234 ", " kHz", "FREQUENCY"),
       5000,
       0,
       135,
       {"text 12 2 \"5000\"", "text 35 125 \"0\""},
       "FRE[ kHz]"},
      {"hFE ignores the point",
       ReadingLine(" 12.34", "    ", "hFE"),
       4000,
       0,
       135,
       {"text 12 2 \"4000\"", "text 35 125 \"0\""},
       "hFE[    ]"},
      {"DIO in columns 44-46",
       ReadingLine(" 12.34", " Vdc", "   DIODE"),
       4,
       -4,
       71,
       {"text 7 2 \"4.000\"", "text 2 125 \"-4.000\"", "text 35 62 \"0\""},
       "   [Vdc ]"},
      {"DIODE from column 41 by the point",
       ReadingLine(" 1.234", " Vdc", "DIODE"),
       4,
       -4,
       71,
       {"text 7 2 \"4.000\"", "text 2 125 \"-4.000\"", "text 35 62 \"0\""},
       "DIO[ Vdc]"},
      {"micro-ampere, no point",
       ReadingLine(" 1234 ",
                   "\xB5"
                   "Aac",
                   "\xB5"
                   "A [AC]"),
       4000,
       -4000,
       71,
       {"text 12 2 \"4000\"", "text 7 125 \"-4000\"", "text 35 62 \"0\""},
       "\xB5"
       "A [\xB5"
       "Aac]"},
      {"DUTY", ReadingLine(" 12.34", "  % ", "DUTY"), 40, -40, 71, kB4Point18, "DUT[  % ]"},
  };
  for (const ScaleCaseRow& row : rows) {
    SCOPED_TRACE(row.what);
    GraphScale scale = ChooseScale(row.line);
    EXPECT_EQ(scale.max, row.max);
    EXPECT_EQ(scale.min, row.min);
    EXPECT_EQ(scale.yFoot, row.yFoot);
    EXPECT_EQ(ScreenTexts(scale), row.texts);
    EXPECT_EQ(std::string(scale.label), row.label);
  }
}

TEST(GraphScale, PaperGivesFrequencyTheFourScaleAndLogicItsUnit) {
  const std::string frequency = ReadingLine(" 1.234", " kHz", "FREQUENCY");
  EXPECT_EQ(ChooseScale(frequency).topText, "5.000");
  GraphScale paper = ChooseScale(frequency, ScaleMedium::kPaper);
  EXPECT_EQ(paper.kind, ScaleCase::kU4);
  EXPECT_EQ(paper.max, 4.0f);
  EXPECT_EQ(paper.topText, "4.000");

  const std::string logic = ReadingLine(" 1.234", " Vdc", "LOGIC");
  EXPECT_EQ(std::string(ChooseScale(logic, ScaleMedium::kPaper).label), "LOG[ Vdc]");
}

TEST(GraphScale, ShortLineReadsMissingColumnsAsBlanks) {
  GraphScale scale = ChooseScale(" 12:00:00       1.23");
  EXPECT_EQ(scale.kind, ScaleCase::kB4);
  EXPECT_EQ(scale.max, 4.0f);
  EXPECT_EQ(std::string(scale.label), "   [    ]");
}

TEST(GraphScale, LogicAndDiodeRereadTheOldestLinesAndWiden) {
  std::vector<std::string> lines;
  for (const char* value : {"  1.0 ", "  3.0 ", " -5.0 ", "  2.5 "}) {
    lines.push_back(ReadingLine(value, " Vdc", "LOGIC"));
  }
  VectorLineSource list(lines);
  GraphValues values{};
  values.fill(99.0f);
  GraphScale logic = ChooseScale(lines[1]);
  RereadValues(list, 0, 3, logic, values);
  EXPECT_EQ(logic.max, 3.0f);
  EXPECT_EQ(logic.min, -5.0f);
  EXPECT_EQ(values[0], 1.0f);
  EXPECT_EQ(values[2], -5.0f);
  EXPECT_EQ(values[3], 99.0f);  // only the lines asked for

  // The diode case reads the 6-character field instead of the value text.
  std::vector<std::string> diode = {
      WithField(ReadingLine(" 0.500", " Vdc", "   DIODE"), list_line::kField6, " 6.000"),
      WithField(ReadingLine(" 0.500", " Vdc", "   DIODE"), list_line::kField6, " 0.250"),
  };
  VectorLineSource diodeList(diode);
  GraphScale scale = ChooseScale(diode[1]);
  RereadValues(diodeList, 0, 2, scale, values);
  EXPECT_EQ(scale.max, 6.0f);
  EXPECT_EQ(scale.min, -4.0f);
  EXPECT_EQ(values[1], 0.25f);

  // Other scales keep their values and limits.
  GraphScale dcv = ChooseScale(ReadingLine(" 1.234", " Vdc", "DCV"));
  RereadValues(list, 0, 4, dcv, values);
  EXPECT_EQ(dcv.max, 4.0f);
  EXPECT_EQ(values[0], 6.0f);
}

TEST(GraphScale, VerticalLabelHasItsOwnTextsForLogicAndHfe) {
  struct Row {
    std::string line;
    std::string op;
  };
  const Row rows[] = {
      {ReadingLine(" 1.234", " Vdc", "LOGIC"), "vtext 8 102 \" LOGIC\""},
      {ReadingLine(" 1234 ", "    ", "hFE"), "vtext 8 102 \"  hFE \""},
      {ReadingLine(" 12.34", " Vdc", "DCV"), "vtext 12 102 \"DCV[ Vdc]\""},
      {ReadingLine(" 1.234", "kOhm", "OHM"), "vtext 12 102 \"OHM[kOhm]\""},
  };
  for (const Row& row : rows) {
    RecordingCanvas canvas;
    DrawVerticalLabel(canvas, row.line, ChooseScale(row.line));
    EXPECT_EQ(canvas.Ops(), Ops{row.op});
  }
}

TEST(GraphScale, UnitsStayWithinLimitsForAnyValue) {
  struct Row {
    float value, max, min;
    int units;
  };
  const Row rows[] = {
      {2.0f, 4.0f, 0.0f, 64},     {5.0f, 4.0f, 0.0f, 129},   {0.0f, 4.0f, 0.0f, 0},
      {-1.0f, 4.0f, 0.0f, 0},     {1.0f, 2.0f, -2.0f, 96},   {-1.0f, 2.0f, -2.0f, 32},
      {3.4e38f, 4.0f, 0.0f, 129}, {-3.4e38f, 4.0f, 0.0f, 0}, {3.4e38f, 3.4e38f, -3.4e38f, 0},
      {1.0f, 1.0f, 1.0f, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ScaleUnits(row.value, row.max, row.min, 0.007751937984496124, 129), row.units)
        << row.value << " on " << row.min << ".." << row.max;
  }
}

}  // namespace
}  // namespace ql
