#pragma once
// What the meter panel shows: `m_nDisplayForm` of the view holds one of
// these. The trend graph is drawn in the line and bar forms, the dot picture
// of a graph file in the graph-file form; the printed report and Save also
// choose by it.

namespace ql {

inline constexpr int FORM_NONE = 0;
inline constexpr int FORM_TEXT = 1;
inline constexpr int FORM_GRAPHFILE = 2;
inline constexpr int FORM_LINE = 3;
inline constexpr int FORM_BAR = 4;

}  // namespace ql
