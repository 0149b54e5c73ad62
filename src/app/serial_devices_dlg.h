#pragma once
// Tools > Serial Devices...: the serial devices of this machine as
// `quintaline-cli ports` lists them (device, stable name, driver, adapter,
// the port name that stands for it, whether it can be opened and what mends
// it), the device each of COM1 to COM4 maps to, "Listen" to hear for three
// seconds whether a meter talks on the chosen device, and "Use as COMn" to
// store the chosen device's stable name (its /dev/serial/by-id link, which
// comes back with the adapter whatever ttyUSB number it gets) as that port
// in the settings file, section "COMM".
//
// Listening never blocks the program: the device is opened without waiting
// and read on a timer.

#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/device_map.h"
#include "ports/serial_devices.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace ql {

class PortListener;

class SerialDevicesDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kPorts = 4;
  static constexpr int kListenTicks = 60;  // three seconds of 50 ms

  struct Hooks {
    ScanRoots roots;
    // The device path a port name ("COM1" ..) maps to now.
    std::function<std::string(const std::string& portName)> portDevice;
    // Stores `path` as port `portName`. Returns false when it could not be
    // written, with the settings file's path in `where`.
    std::function<bool(const std::string& portName, const std::string& path, QString& where)>
        storePort;
  };

  SerialDevicesDlg(Hooks hooks, QWidget* parent);
  ~SerialDevicesDlg() override;

  // Scans the devices again and shows them and the port names.
  void Refresh();
  // Listens on the chosen device; the result comes in the status line.
  void Listen();
  // Stores the chosen device as the port chosen in the port box.
  void UseAsPort();

  QTreeWidget* Devices() const { return devices_; }
  QComboBox* PortBox() const { return portBox_; }
  QPushButton* ListenButton() const { return listen_; }
  QPushButton* UseButton() const { return use_; }
  QLabel* StatusLine() const { return status_; }
  QLabel* PortLabel(int index) const { return portLabels_[static_cast<std::size_t>(index)]; }
  // The listed devices, in the order of the rows.
  const std::vector<SerialDevice>& Listed() const { return listed_; }

 private:
  void ShowPorts();
  void ListenTick();
  const SerialDevice* Chosen() const;
  void UpdateButtons();

  Hooks hooks_;
  std::vector<SerialDevice> listed_;
  QTreeWidget* devices_ = nullptr;
  std::vector<QLabel*> portLabels_;
  QComboBox* portBox_ = nullptr;
  QPushButton* refresh_ = nullptr;
  QPushButton* listen_ = nullptr;
  QPushButton* use_ = nullptr;
  QLabel* status_ = nullptr;
  QTimer listenTimer_;
  std::unique_ptr<PortListener> listener_;
  std::string listenPath_;
  int listenTicksLeft_ = 0;
};

}  // namespace ql
