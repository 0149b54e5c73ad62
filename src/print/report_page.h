#pragma once
// The parts of a report page, shared by the list report and the graph
// report (report.cpp) and drawn on its first page (graph_page.cpp).

#include <array>
#include <string>

#include "base/line_source.h"
#include "graph/canvas.h"
#include "graph/graph_values.h"

namespace ql {

// The four header lines at x: file title (the line cut to 99 characters),
// number of samples, maximum and minimum.
void DrawReportHeader(Canvas& canvas, int x, const std::string& fileName, int samples, float max,
                      float min);

// Page 1 of the graph report below its header: axes, paper scale labels,
// function line, sample axis and the plot of lines first .. first+count-1
// (graphValue holds their values and is refilled for the logic and diode
// scales). `bars` draws bars, else a polyline.
// REQUIRES: 0 <= first, first + count <= min(list.Count(), 500), list not empty.
void DrawGraphPage(Canvas& canvas, const LineSource& list, int first, int count, bool bars,
                   GraphValues& graphValue);

}  // namespace ql
