#pragma once
// Tools > Link Status...: a small live window of a measuring window's meter
// link: bytes received, frames taken, bytes skipped while searching, bytes
// dropped by the backlog cut and by overflow, the time since the last frame
// and the modem inputs CD, DSR and CTS (n/a where the device has none). The
// fields are those of `quintaline-cli monitor --stats`, brought up to date
// on every tick of the window.

#include <QDialog>

#include <map>
#include <string>

#include "link/link_status.h"

class QLabel;

namespace ql {

class MeasuringWindow;

class LinkStatusWindow : public QDialog {
  Q_OBJECT
 public:
  // Follows `window`'s ticks. `window` deletes it before it goes.
  LinkStatusWindow(MeasuringWindow& window, QWidget* parent);

  // The value shown for a field by its key ("received", "cd", ...).
  QString Value(const std::string& key) const;
  // Reads the link's status now and shows it.
  void Update();

 private:
  MeasuringWindow& window_;
  FrameAge age_;
  QLabel* port_ = nullptr;
  std::map<std::string, QLabel*> values_;
};

}  // namespace ql
