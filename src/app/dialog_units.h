#pragma once
// Dialog units of the form templates -> pixels. A template places its
// controls in units of a quarter of the dialog font's average character
// width across and an eighth of its height down. The base units here are
// those of an 8-point sans-serif dialog font (7 x 13 pixels), which also
// makes the meter panel wide enough for the 454-pixel drawings of the view.

#include <QRect>

namespace ql {

inline constexpr int kDialogBaseX = 7;   // pixels per 4 horizontal units
inline constexpr int kDialogBaseY = 13;  // pixels per 8 vertical units

// Rounds to the nearest pixel, as the window system's dialog mapping does.
constexpr int DialogX(int units) { return (units * kDialogBaseX * 2 + 4) / 8; }
constexpr int DialogY(int units) { return (units * kDialogBaseY * 2 + 8) / 16; }

// The pixel rectangle of a control placed at (x, y) with size (w, h) in
// dialog units; its edges are mapped, so neighbours stay flush.
inline QRect DialogRect(int x, int y, int w, int h) {
  const int left = DialogX(x), top = DialogY(y);
  return QRect(left, top, DialogX(x + w) - left, DialogY(y + h) - top);
}

}  // namespace ql
