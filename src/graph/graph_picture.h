#pragma once
// The dot picture of a graph file (`m_GraphBuf`): byte 2 + 128 p + c is
// column c (0..127) of band p (0..6), and bit b of it (bit 0 the least
// significant) the dot in row 8 p + b. Bytes 0, 1 and 898..1023 are carried
// but not shown.

#include <array>
#include <cstdint>

#include "graph/canvas.h"

namespace ql {

using GraphPicture = std::array<std::uint8_t, 1024>;

// Applies the marker rule to `picture` itself: when the bytes 276..285
// (band 2, columns 18..27) sum to a non-zero value modulo 256, bit 0 of
// bytes 194 and 195, bit 1 of 322, bit 3 of 450, bit 5 of 578 and bit 7 of
// 706 are set; byte 66 (band 0, column 64) is always cleared.
void ApplyPictureMarker(GraphPicture& picture);

// Draws the panel for the graph-file form: green background, then the
// marker rule on `picture`, then every set dot of columns 1..127 of bands
// 0..5 (rows 0..7) and band 6 (rows 0..2) as a 3 x 3 square, blue with a
// black outline, from (36 + 3c, 7 + 24p + 3b) to (39 + 3c, 10 + 24p + 3b).
void DrawGraphFile(Canvas& canvas, GraphPicture& picture);

}  // namespace ql
