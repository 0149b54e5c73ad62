// The main frame's Tools pop-up: Serial Devices..., Link Status... (the
// measuring window shows it) and Capture Raw Bytes....

#include <QAction>
#include <QFile>

#include "app/dialogs.h"
#include "app/frame_ids.h"
#include "app/main_frame.h"
#include "app/measuring_window.h"
#include "app/serial_devices_dlg.h"
#include "run/ids.h"

namespace ql {

namespace {

constexpr const char* kCaptureFilter = "Raw Captures (*.qlcap)\n*.qlcap\nAll Files (*.*)\n*.*\n\n";

}  // namespace

SerialDevicesDlg* CMainFrame::SerialDevices() const { return serialDevices_; }

void CMainFrame::ShowSerialDevices() {
  if (!serialDevices_) {
    SerialDevicesDlg::Hooks hooks;
    hooks.roots = scanRoots_;
    hooks.portDevice = [this](const std::string& portName) {
      MeasuringWindow* window = ActiveMeasuringWindow();
      return window ? window->DevicePath(portName) : DefaultDevicePath(portName);
    };
    // Every measuring window keeps a copy of the settings: each stores it,
    // so that each uses the new device at its next Start.
    hooks.storePort = [this](const std::string& portName, const std::string& path,
                             QString& where) {
      where = settingsPath_;
      bool stored = true;
      for (MeasuringWindow* window : MeasuringWindows()) {
        where = window->SettingsPath();
        stored = window->StorePortDevice(portName, path) && stored;
      }
      return stored;
    };
    serialDevices_ = new SerialDevicesDlg(std::move(hooks), this);
  }
  serialDevices_->show();
  serialDevices_->raise();
}

void CMainFrame::ToggleCapture(MeasuringWindow* window) {
  if (window->Capturing()) {
    window->StopCapture();
  } else if (window->View().OnUpdateRunning()) {
    FileDialogOptions options;
    options.filter = kCaptureFilter;
    options.defaultExtension = "qlcap";
    options.overwritePrompt = true;
    if (const std::optional<QString> path = dialogs_.SaveFile(this, options)) {
      if (const Status status = window->StartCapture(*path); !status.ok()) {
        dialogs_.Message(this, QStringLiteral("Capture not started"),
                         QString::fromStdString(status.reason()));
      } else {
        SetPaneText(pane::kMessage, QStringLiteral("Capturing raw bytes in ") + *path);
      }
    }
  }
  // The action toggled itself when triggered: it shows what is.
  for (Command& c : commands_) {
    if (c.id != frame_cmd::kCaptureRaw) continue;
    c.checked = window->Capturing();
    c.action->setChecked(c.checked);
  }
}

}  // namespace ql
