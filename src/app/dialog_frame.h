#pragma once
// The window frame of the program's dialogs: a title with a system menu and
// a close button, but no minimise or maximise button, which a window
// manager would otherwise offer for a top-level window.

#include <QWidget>

namespace ql {

inline void UseDialogFrame(QWidget& dialog) {
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

}  // namespace ql
