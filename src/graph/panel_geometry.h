#pragma once
// The meter panel's rectangle in panel pixels, shared by everything that
// paints it or a picture of it.

namespace ql::panel {

// Every drawing fills (0, 0)-(kRight, kBottom), both edges inside.
inline constexpr int kRight = 453;
inline constexpr int kBottom = 172;
// The text rows end here; below is the graph form's bottom line.
inline constexpr int kTextBottom = 161;

// The panel's size in pixels.
inline constexpr int kWidth = kRight + 1;
inline constexpr int kHeight = kBottom + 1;

}  // namespace ql::panel
