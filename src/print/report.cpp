#include "print/report.h"

#include <algorithm>
#include <charconv>

#include "graph/display_form.h"
#include "graph/list_columns.h"
#include "print/report_page.h"
#include "graph/graph_values.h"

namespace ql {
namespace {

constexpr int kLinePitch = 300;

// The first and last-plus-one covered line and whether it is the graph
// report.
struct Coverage {
  int first = 0;
  int end = 0;
  bool graph = false;
};

Coverage Cover(const ReportContext& context, int count) {
  Coverage cover;
  cover.graph = context.displayForm == FORM_LINE || context.displayForm == FORM_BAR;
  cover.end = std::min(count, kReportMaxLines);
  if (cover.graph) {
    cover.end = std::max(0, std::min(cover.end, context.graphLength));
    cover.first = std::clamp(context.graphStart, 0, cover.end);
  }
  return cover;
}

// Lines first .. end-1, each without its last character (a line read back
// from a file ends in its line feed), 300 twips apart from y downward.
void DrawLines(Canvas& canvas, const LineSource& list, int first, int end, int x, int y) {
  for (int i = first; i < end; ++i, y -= kLinePitch) {
    std::string line = list.Line(i);
    if (!line.empty()) line.pop_back();
    canvas.Text(x, y, line);
  }
}

}  // namespace

int ReportPageCount(int displayForm, int lineCount, int linesPerPage) {
  const int lines = std::clamp(lineCount, 0, kReportMaxLines);
  const int perPage = std::max(linesPerPage, 1);
  auto pagesFor = [&](int n) { return (n + perPage - 1) / perPage; };
  if (displayForm == FORM_TEXT) {
    if (lines == 0) return 0;
    if (lines <= kReportFirstPageLines) return 1;
    return 1 + pagesFor(lines - kReportFirstPageLines);
  }
  if (displayForm == FORM_LINE || displayForm == FORM_BAR) return 1 + pagesFor(lines);
  return 1;
}

std::string FormatFixed6(double value) {
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

PageResult PrintReportPage(Canvas& canvas, int page, const LineSource& list,
                           const ReportContext& context, GraphValues& graphValue) {
  canvas.SetBackgroundColour(kWhite);
  canvas.SetTransparentText(false);
  const int count = list.Count();
  if (count <= 0) return {true, 0};

  const Coverage cover = Cover(context, count);
  const int n = cover.end - cover.first;
  // The true extremes of the covered values (from the first of them), so
  // that a run whose values all lie beyond +-4000 still shows its own.
  float max = 0.0f;
  float min = 0.0f;
  for (int i = cover.first; i < cover.end; ++i) {
    float v = ValueAt(list.Line(i), list_line::kValue);
    graphValue[static_cast<std::size_t>(i)] = v;
    if (i == cover.first || v > max) max = v;
    if (i == cover.first || v < min) min = v;
  }

  const int x = cover.graph ? 1800 : 2000;
  const int perPage = std::max(context.linesPerPage, 1);
  if (page == 1) {
    DrawReportHeader(canvas, x, context.fileName, n, max, min);
    if (cover.graph) {
      DrawGraphPage(canvas, list, cover.first, n, context.displayForm == FORM_BAR, graphValue);
    } else {
      DrawLines(canvas, list, 0, std::min(n, kReportFirstPageLines), x, -4000);
    }
  } else if (page > 1) {
    // Later pages continue the list after what the pages before held.
    const long long before = cover.graph ? 0 : kReportFirstPageLines;
    const long long from = before + static_cast<long long>(perPage) * (page - 2);
    const long long to = std::min(from + perPage, static_cast<long long>(n));
    if (from < to) {
      DrawLines(canvas, list, cover.first + static_cast<int>(from),
                cover.first + static_cast<int>(to), x, -1500);
    }
  }
  return {false, n};
}

void DrawPageNumber(Canvas& canvas, int page) {
  canvas.Text(5900, -15500, std::to_string(page) + " Page");
}

}  // namespace ql
