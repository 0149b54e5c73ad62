#pragma once
// The pictures of the main frame: six 16 x 15 toolbar buttons in the order
// of the toolbar (Open, Save, Print, Start, Stop, Pause) and the program's
// icon, a small hand-held meter. All are drawn here in code, in the sixteen
// colours of a classic toolbar strip.

#include <QIcon>
#include <QImage>

namespace ql {

enum class ToolbarImage { kOpen, kSave, kPrint, kStart, kStop, kPause };

inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;

// One button picture, 16 x 15 pixels, transparent where nothing is drawn.
QImage DrawToolbarImage(ToolbarImage which);
QIcon ToolbarIcon(ToolbarImage which);
// The program's icon at 16, 32 and 48 pixels.
QIcon AppIcon();

}  // namespace ql
