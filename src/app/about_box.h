#pragma once
// The About box: the program's icon, its name and version, and OK.

#include <QDialog>

namespace ql {

inline constexpr const char* kVersionText = "Quintaline Version 4.0B";

class CAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutBox(QWidget* parent = nullptr);
};

}  // namespace ql
