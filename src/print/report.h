#pragma once
// The printed report of the list of readings, drawn in twips (y up, so every
// position on the page is negative). In the line and bar forms it is the
// graph report: page 1 holds a summary header and the trend graph of lines
// graphStart .. min(count, graphLength, 500) - 1, later pages 45 of those
// lines each. In every other form it is the list report: page 1 holds the
// header and the first 35 lines, later pages 45 lines each. The report never
// covers more than the first 500 lines.

#include <array>
#include <string>

#include "base/line_source.h"
#include "graph/canvas.h"
#include "graph/graph_values.h"

namespace ql {

inline constexpr int kReportMaxLines = 500;
inline constexpr int kReportFirstPageLines = 35;

// The number of pages of a report of min(lineCount, 500) lines in
// `displayForm`: text form 0 for no line, 1 for up to 35, else
// 1 + ceil((lines - 35) / linesPerPage); line and bar forms
// 1 + ceil(lines / linesPerPage); every other form 1.
// A linesPerPage below 1 counts as 1.
int ReportPageCount(int displayForm, int lineCount, int linesPerPage);

struct ReportContext {
  int displayForm = 0;    // `m_nDisplayForm`
  int graphStart = 0;     // `m_nGraphStart`
  int graphLength = 500;  // `m_nGraphLength`
  int linesPerPage = 45;  // `m_nLinesPerPage`
  std::string fileName;   // `m_szFileName`, the title of the current data file
};

struct PageResult {
  bool empty = false;  // the list held no line: nothing was drawn
  int lineCount = 0;   // the number of covered lines, for `m_nLineCount`
};

// Draws page `page` (from 1) of the report: sets the white text background,
// then, unless the list is empty, the page contents. Refills graphValue for
// the covered lines. The page number is not drawn here (DrawPageNumber).
// The graph report takes its scale and function text from line 1, or line 0
// when the list holds a single line. The header line with the file title is
// cut to 99 characters.
PageResult PrintReportPage(Canvas& canvas, int page, const LineSource& list,
                           const ReportContext& context, GraphValues& graphValue);

// "%d Page" at (5900, -15500).
void DrawPageNumber(Canvas& canvas, int page);

// `value` as printf's "%f" in the C locale: six decimals and '.', whatever
// the program's locale.
std::string FormatFixed6(double value);

}  // namespace ql
