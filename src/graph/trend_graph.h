#pragma once
// The trend graph of the list of readings on the meter panel: the newest
// (up to) 500 lines, oldest first, 80 pixels per 100 samples, on the fixed
// scale that the scale line picks (graph_scale.h), as a polyline or as bars.

#include <array>

#include "base/line_source.h"
#include "graph/canvas.h"
#include "graph/graph_values.h"

namespace ql {

// Draws the whole panel for display form `form`: background, axes, sample
// axis, the scale texts, the vertical label and, in FORM_LINE and FORM_BAR,
// the plot. Fills graphValue[0 .. N-1] with the plotted values (N =
// min(count, 500)) and graphLabel with the label text (`m_szGraphLabel`).
// The scale line is line 1 of the list; a list of a single line takes it
// from line 0. Only the newest 500 lines are read (plus, for the logic and
// diode scales, the oldest 500), however long the list is.
// An empty list draws nothing (the view shows its message instead).
void DrawTrendGraph(Canvas& canvas, const LineSource& list, int form,
                    GraphValues& graphValue, char (&graphLabel)[10]);

}  // namespace ql
