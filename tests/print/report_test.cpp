#include "print/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graph/display_form.h"
#include "graph/recording_canvas.h"
#include "support/reading_lines.h"
#include "graph/graph_values.h"

namespace ql {
namespace {

using Ops = std::vector<std::string>;
using Strings = std::vector<std::string>;
using test_support::ReadingLine;
using test_support::ReadingLines;

struct Printed {
  Ops ops;
  PageResult result;
  GraphValues values{};
};

Printed Print(const Strings& lines, int form, int page, const std::string& fileName = "run.rdg") {
  Printed printed;
  VectorLineSource list(lines);
  RecordingCanvas canvas;
  ReportContext context;
  context.displayForm = form;
  context.fileName = fileName;
  printed.result = PrintReportPage(canvas, page, list, context, printed.values);
  printed.ops = canvas.Ops();
  return printed;
}

bool Has(const Ops& ops, const std::string& op) {
  return std::find(ops.begin(), ops.end(), op) != ops.end();
}

// Lines "L0", "L1", ... each ending in a line feed, as lines read from a file do.
Strings NumberedLines(int count) {
  Strings lines;
  for (int k = 0; k < count; ++k) lines.push_back("L" + std::to_string(k) + "\n");
  return lines;
}

// The text operations of a page after its header.
Ops TextsAfterHeader(const Ops& ops) {
  auto header = std::find_if(ops.begin(), ops.end(), [](const std::string& op) {
    return op.find("Value of Minimum") != std::string::npos;
  });
  return header == ops.end() ? Ops(ops.begin() + 2, ops.end()) : Ops(header + 1, ops.end());
}

TEST(ReportPageCount, FollowsTheFormAndTheFirst500Lines) {
  struct Row {
    int form, lines, pages;
  };
  const Row rows[] = {
      {FORM_TEXT, 0, 0},    {FORM_TEXT, 1, 1},  {FORM_TEXT, 35, 1},   {FORM_TEXT, 36, 2},
      {FORM_TEXT, 80, 2},   {FORM_TEXT, 81, 3}, {FORM_TEXT, 500, 12}, {FORM_TEXT, 100000, 12},
      {FORM_LINE, 0, 1},    {FORM_LINE, 45, 2}, {FORM_BAR, 46, 3},    {FORM_BAR, 500, 13},
      {FORM_LINE, 600, 13}, {FORM_NONE, 0, 1},  {FORM_NONE, 500, 1},  {FORM_GRAPHFILE, 80, 1},
      {7, 80, 1},           {FORM_TEXT, -5, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ReportPageCount(row.form, row.lines, 45), row.pages)
        << "form " << row.form << ", " << row.lines << " lines";
  }
}

TEST(Report, GraphReportFirstPage) {
  const Strings lines = {ReadingLine(" 1.000", " Vdc", "DCV"), ReadingLine(" 2.000", " Vdc", "DCV"),
                         ReadingLine(" 3.000", " Vdc", "DCV")};
  Printed printed = Print(lines, FORM_LINE, 1);
  EXPECT_EQ(printed.ops, (Ops{
                             "bkcolor #FFFFFF",
                             "bkmode opaque",
                             "text 1800 -1500 \"Printing Filename    run.rdg\"",
                             "text 1800 -2500 \"Number of Samples  : 3\"",
                             "text 1800 -3000 \"Value of Maximum   : 3.000000\"",
                             "text 1800 -3500 \"Value of Minimum   : 1.000000\"",
                             "moveto 1800 -5000",
                             "lineto 1800 -13000",
                             "lineto 11300 -13000",
                             "text 1100 -5100 \"4.000\"",
                             "text 1000 -12800 \"-4.000\"",
                             "text 1600 -8900 \"0\"",
                             "text 1800 -4000 \"Function & Unit    : DCV[ Vdc]\"",
                             "text 1800 -13100 \"0\"",
                             "text 3500 -13100 \"1\"",
                             "text 5400 -13100 \"2\"",
                             "text 7300 -13100 \"3\"",
                             "text 9200 -13100 \"4\"",
                             "text 11100 -13100 \"5\"",
                             "text 5400 -13500 \"100 Samples / Div\"",
                             // Scale -4 .. 4 over 8000 twips: 1 -> 5000, 2 -> 6000, 3 -> 7000.
                             "moveto 1800 -8000",
                             "lineto 1800 -8000",
                             "lineto 1819 -7000",
                             "lineto 1838 -6000",
                         }));
  EXPECT_FALSE(printed.result.empty);
  EXPECT_EQ(printed.result.lineCount, 3);
  EXPECT_EQ(printed.values[2], 3.0f);
}

TEST(Report, BarsFillNineteenTwipsFromTheirBase) {
  struct Row {
    const char* what;
    Strings lines;
    int base, top;
  };
  const Row rows[] = {
      // Unipolar 0 .. 4: a value at the bottom ends its stroke on the base.
      {"unipolar at its bottom", {ReadingLine(" 0.000", " Vac", "ACV")}, -13000, -13000},
      {"unipolar", {ReadingLine(" 2.000", " Vac", "ACV")}, -13000, -9000},
      // Bipolar -4 .. 4: a negative value goes down from -9000.
      {"bipolar negative", {ReadingLine("-1.000", " Vdc", "DCV")}, -9000, -10000},
      {"beyond the top", {ReadingLine(" 9.000", " Vdc", "DCV")}, -9000, -5000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Ops ops = Print(row.lines, FORM_BAR, 1).ops;
    const Ops plot(ops.end() - 57, ops.end());
    for (std::size_t j = 0; j < 19; ++j) {
      const std::string x = std::to_string(1800 + j) + " ";
      EXPECT_EQ(plot[3 * j], "pixel " + x + std::to_string(row.base) + " #7F7F7F");
      EXPECT_EQ(plot[3 * j + 1], "moveto " + x + std::to_string(row.base));
      EXPECT_EQ(plot[3 * j + 2], "lineto " + x + std::to_string(row.top));
    }
  }
}

TEST(Report, HeaderShowsTheExtremesOfTheCoveredValues) {
  struct Row {
    Strings values;
    const char* max;
    const char* min;
  };
  const Row rows[] = {
      {{" 1.000", " 2.000", " 3.000"}, "3.000000", "1.000000"},
      {{" OVER ", " OVER "}, "0.000000", "0.000000"},
      {{"-0.500"}, "-0.500000", "-0.500000"},
      // Values beyond +-4000 are their own extremes.
      {{" 4500 ", " 4600 "}, "4600.000000", "4500.000000"},
  };
  for (const Row& row : rows) {
    Strings lines;
    for (const std::string& value : row.values) lines.push_back(ReadingLine(value, " kHz", "FR"));
    for (int form : {FORM_TEXT, FORM_LINE}) {
      Ops ops = Print(lines, form, 1).ops;
      const std::string x = form == FORM_TEXT ? "2000" : "1800";
      EXPECT_TRUE(Has(ops, "text " + x + " -3000 \"Value of Maximum   : " + row.max + "\""))
          << row.max;
      EXPECT_TRUE(Has(ops, "text " + x + " -3500 \"Value of Minimum   : " + row.min + "\""))
          << row.min;
    }
  }
}

TEST(Report, ListReportPrintsLinesWithoutTheirLastCharacter) {
  Printed first = Print(NumberedLines(36), FORM_TEXT, 1);
  Ops texts = TextsAfterHeader(first.ops);
  ASSERT_EQ(texts.size(), 35u);
  EXPECT_EQ(texts[0], "text 2000 -4000 \"L0\"");
  EXPECT_EQ(texts[34], "text 2000 -14200 \"L34\"");
  EXPECT_TRUE(Has(first.ops, "text 2000 -2500 \"Number of Samples  : 36\""));

  EXPECT_EQ(TextsAfterHeader(Print(NumberedLines(36), FORM_TEXT, 2).ops),
            Ops{"text 2000 -1500 \"L35\""});
  // An empty line prints as an empty text.
  EXPECT_EQ(TextsAfterHeader(Print({"x", ""}, FORM_NONE, 1).ops),
            (Ops{"text 2000 -4000 \"\"", "text 2000 -4300 \"\""}));
}

TEST(Report, LaterPagesContinueTheFirst500Lines) {
  Ops page12 = TextsAfterHeader(Print(NumberedLines(600), FORM_TEXT, 12).ops);
  ASSERT_EQ(page12.size(), 15u);
  EXPECT_EQ(page12.front(), "text 2000 -1500 \"L485\"");
  EXPECT_EQ(page12.back(), "text 2000 -5700 \"L499\"");

  const Strings lines = ReadingLines(600, " 1.000", " Vdc", "DCV");
  Printed page13 = Print(lines, FORM_BAR, 13);
  EXPECT_EQ(TextsAfterHeader(page13.ops).size(), 5u);
  EXPECT_EQ(TextsAfterHeader(page13.ops).back(),
            "text 1800 -2700 \"" + lines[499].substr(0, 60) + "\"");
  EXPECT_EQ(page13.result.lineCount, 500);

  Ops page2 = TextsAfterHeader(Print(lines, FORM_LINE, 2).ops);
  ASSERT_EQ(page2.size(), 45u);
  EXPECT_EQ(page2.back(), "text 1800 -14700 \"" + lines[44].substr(0, 60) + "\"");
  EXPECT_TRUE(TextsAfterHeader(Print(lines, FORM_LINE, 14).ops).empty());
  EXPECT_TRUE(Has(Print(lines, FORM_LINE, 1).ops, "text 1800 -2500 \"Number of Samples  : 500\""));
}

TEST(Report, PaperScaleDiffersFromTheScreenWhereItShould) {
  // Frequency: 4/40/400/4000 on paper.
  Ops frequency = Print(ReadingLines(2, " 1.234", " kHz", "FREQUENCY"), FORM_LINE, 1).ops;
  EXPECT_TRUE(Has(frequency, "text 1100 -5100 \"4.000\""));
  EXPECT_TRUE(Has(frequency, "text 1600 -12800 \"0\""));

  // hFE: a function line of its own and the whole-number top label.
  Ops hfe = Print(ReadingLines(2, " 1234 ", "    ", "hFE"), FORM_LINE, 1).ops;
  EXPECT_TRUE(Has(hfe, "text 1800 -4000 \"Function & Unit    :    hFE   \""));
  EXPECT_TRUE(Has(hfe, "text 1200 -5100 \"4000\""));

  // Logic: its three labels, the unit text in the function line, and the
  // scale widened to take in 4: 4 at the top, 0 at h = 2 / 6 * 8000.
  Strings logic = {ReadingLine("  4.0 ", " Vdc", "LOGIC"), ReadingLine("  0.0 ", " Vdc", "LOGIC")};
  Ops ops = Print(logic, FORM_LINE, 1).ops;
  EXPECT_TRUE(Has(ops, "text 1500 -7000 \"Hi\""));
  EXPECT_TRUE(Has(ops, "text 1400 -8900 \"Mid\""));
  EXPECT_TRUE(Has(ops, "text 1500 -10850 \"Lo\""));
  EXPECT_TRUE(Has(ops, "text 1800 -4000 \"Function & Unit    : LOG[ Vdc]\""));
  EXPECT_EQ(Ops(ops.end() - 3, ops.end()),
            (Ops{"moveto 1800 -5000", "lineto 1800 -5000", "lineto 1819 -10334"}));
}

TEST(Report, SingleLineTakesTheScaleFromItself) {
  Ops ops = Print({ReadingLine(" 12.34", "kOhm", "OHM")}, FORM_LINE, 1).ops;
  EXPECT_TRUE(Has(ops, "text 1100 -5100 \"40.00\""));
  EXPECT_TRUE(Has(ops, "text 1800 -4000 \"Function & Unit    : OHM[kOhm]\""));
}

TEST(Report, EmptyListDrawsOnlyTheBackground) {
  Printed printed = Print({}, FORM_LINE, 1);
  EXPECT_TRUE(printed.result.empty);
  EXPECT_EQ(printed.ops, (Ops{"bkcolor #FFFFFF", "bkmode opaque"}));
}

TEST(Report, LongFileTitleIsCutToTheHeaderLine) {
  Ops ops = Print(NumberedLines(1), FORM_TEXT, 1, std::string(150, 'n')).ops;
  EXPECT_EQ(ops[2], "text 2000 -1500 \"Printing Filename    " + std::string(78, 'n') + "\"");
}

TEST(Report, PageNumberAtTheFoot) {
  RecordingCanvas canvas;
  DrawPageNumber(canvas, 12);
  EXPECT_EQ(canvas.Ops(), Ops{"text 5900 -15500 \"12 Page\""});
}

}  // namespace
}  // namespace ql
