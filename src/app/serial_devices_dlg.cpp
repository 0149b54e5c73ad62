#include "app/serial_devices_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>
#include <utility>

#include "app/dialog_frame.h"
#include "ports/port_listener.h"

namespace ql {

namespace {

constexpr int kListenMs = 50;

enum Column { kDevice, kStableName, kDriver, kAdapter, kPort, kAccess, kColumns };

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string PortName(int index) { return "COM" + std::to_string(index + 1); }

// The name that stays with the device: its by-id link, else its by-path
// link, else the device itself.
std::string StableName(const SerialDevice& device) {
  if (!device.byId.empty()) return device.byId.front();
  if (!device.byPath.empty()) return device.byPath.front();
  return device.devicePath;
}

std::string Canonical(const std::string& path) {
  std::error_code ec;
  const auto canonical = std::filesystem::canonical(path, ec);
  return ec ? std::string() : canonical.string();
}

QString Adapter(const SerialDevice& device) {
  QStringList parts;
  for (const std::string* text : {&device.usbId, &device.maker, &device.product}) {
    if (!text->empty()) parts << Q(*text);
  }
  if (!device.serial.empty()) parts << QStringLiteral("serial ") + Q(device.serial);
  return parts.join(QStringLiteral(" "));
}

QString Access(const SerialDevice& device) {
  const DeviceAccess& access = device.access;
  if (!access.canOpen) {
    return QStringLiteral("cannot be opened: ") + Q(access.problem) +
           (access.mend.empty() ? QString() : QStringLiteral(" (mend: ") + Q(access.mend) + ")");
  }
  if (!access.alsoOpenIn.empty()) {
    return QStringLiteral("can be opened; also open in process ") + Q(access.alsoOpenIn);
  }
  return QStringLiteral("can be opened");
}

}  // namespace

SerialDevicesDlg::SerialDevicesDlg(Hooks hooks, QWidget* parent)
    : QDialog(parent), hooks_(std::move(hooks)) {
  UseDialogFrame(*this);
  setObjectName(QStringLiteral("serialDevices"));
  setWindowTitle(QStringLiteral("Serial Devices"));

  devices_ = new QTreeWidget(this);
  devices_->setObjectName(QStringLiteral("devices"));
  devices_->setColumnCount(kColumns);
  devices_->setHeaderLabels({QStringLiteral("Device"), QStringLiteral("Stable name"),
                             QStringLiteral("Driver"), QStringLiteral("Adapter"),
                             QStringLiteral("Port"), QStringLiteral("Access")});
  devices_->setRootIsDecorated(false);
  devices_->setSelectionMode(QAbstractItemView::SingleSelection);
  devices_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  devices_->setMinimumWidth(640);
  connect(devices_, &QTreeWidget::itemSelectionChanged, this, &SerialDevicesDlg::UpdateButtons);

  auto* ports = new QGroupBox(QStringLiteral("Port names"), this);
  auto* grid = new QGridLayout(ports);
  for (int i = 0; i < kPorts; ++i) {
    grid->addWidget(new QLabel(Q(PortName(i)), ports), i, 0);
    auto* label = new QLabel(ports);
    label->setObjectName(QStringLiteral("port%1").arg(i + 1));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(label, i, 1);
    portLabels_.push_back(label);
  }
  grid->setColumnStretch(1, 1);

  refresh_ = new QPushButton(QStringLiteral("&Refresh"), this);
  listen_ = new QPushButton(QStringLiteral("&Listen"), this);
  listen_->setToolTip(QStringLiteral("Open the device as the logger does and count the meter "
                                     "frames of three seconds"));
  portBox_ = new QComboBox(this);
  for (int i = 0; i < kPorts; ++i) portBox_->addItem(Q(PortName(i)));
  portBox_->setCurrentIndex(1);
  use_ = new QPushButton(this);
  use_->setToolTip(QStringLiteral("Store the device's stable name as this port in the settings"));
  connect(refresh_, &QPushButton::clicked, this, &SerialDevicesDlg::Refresh);
  connect(listen_, &QPushButton::clicked, this, &SerialDevicesDlg::Listen);
  connect(use_, &QPushButton::clicked, this, &SerialDevicesDlg::UseAsPort);
  connect(portBox_, &QComboBox::currentIndexChanged, this, &SerialDevicesDlg::UpdateButtons);
  auto* actions = new QHBoxLayout;
  actions->addWidget(refresh_);
  actions->addWidget(listen_);
  actions->addStretch(1);
  actions->addWidget(portBox_);
  actions->addWidget(use_);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("status"));
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* box = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(devices_, 1);
  layout->addWidget(ports);
  layout->addLayout(actions);
  layout->addWidget(status_);
  layout->addWidget(box);

  listenTimer_.setInterval(kListenMs);
  connect(&listenTimer_, &QTimer::timeout, this, &SerialDevicesDlg::ListenTick);
  Refresh();
}

SerialDevicesDlg::~SerialDevicesDlg() = default;

void SerialDevicesDlg::Refresh() {
  listed_ = ScanSerialDevices(hooks_.roots, CurrentIdentity());
  devices_->clear();
  for (const SerialDevice& device : listed_) {
    QStringList ports;
    const std::string target = Canonical(device.devicePath);
    for (int i = 0; i < kPorts; ++i) {
      const std::string mapped = hooks_.portDevice(PortName(i));
      if (!target.empty() && Canonical(mapped) == target) ports << Q(PortName(i));
    }
    auto* item = new QTreeWidgetItem(devices_);
    item->setText(kDevice, Q(device.devicePath));
    item->setText(kStableName, device.byId.empty() && device.byPath.empty()
                                   ? QString()
                                   : Q(StableName(device)));
    item->setText(kDriver, Q(device.driver));
    item->setText(kAdapter, Adapter(device));
    item->setText(kPort, ports.join(QStringLiteral(", ")));
    item->setText(kAccess, Access(device));
  }
  if (listed_.empty()) status_->setText(QStringLiteral("No serial devices found."));
  if (!listed_.empty()) devices_->setCurrentItem(devices_->topLevelItem(0));
  ShowPorts();
  UpdateButtons();
}

void SerialDevicesDlg::ShowPorts() {
  for (int i = 0; i < kPorts; ++i) {
    const std::string path = hooks_.portDevice(PortName(i));
    QString text = path.empty() ? QStringLiteral("(no device)") : Q(path);
    if (!path.empty()) {
      const std::string target = Canonical(path);
      if (target.empty()) {
        text += QStringLiteral("  (not there now)");
      } else if (target != path) {
        text += QStringLiteral("  -> ") + Q(target);
      }
    }
    portLabels_[static_cast<std::size_t>(i)]->setText(text);
  }
}

const SerialDevice* SerialDevicesDlg::Chosen() const {
  const int row = devices_->indexOfTopLevelItem(devices_->currentItem());
  if (row < 0 || static_cast<std::size_t>(row) >= listed_.size()) return nullptr;
  return &listed_[static_cast<std::size_t>(row)];
}

void SerialDevicesDlg::UpdateButtons() {
  const SerialDevice* device = Chosen();
  listen_->setEnabled(device != nullptr && !listener_);
  use_->setEnabled(device != nullptr);
  use_->setText(QStringLiteral("&Use as ") + portBox_->currentText());
}

void SerialDevicesDlg::Listen() {
  const SerialDevice* device = Chosen();
  if (device == nullptr || listener_) return;
  listenPath_ = device->devicePath;
  listener_ = std::make_unique<PortListener>(listenPath_);
  if (const Status status = listener_->Open(); !status.ok()) {
    listener_.reset();
    status_->setText(QStringLiteral("Cannot listen: ") + Q(status.reason()));
    return;
  }
  listenTicksLeft_ = kListenTicks;
  status_->setText(QStringLiteral("Listening on ") + Q(listenPath_) + QStringLiteral("..."));
  listenTimer_.start();
  UpdateButtons();
}

void SerialDevicesDlg::ListenTick() {
  listener_->Tick();
  if (--listenTicksLeft_ > 0 && !listener_->Lost()) return;
  listenTimer_.stop();
  const QString seconds = QString::number(kListenTicks * kListenMs / 1000);
  QString text = Q(listenPath_) + QStringLiteral(": ");
  if (listener_->Lost()) {
    text += QStringLiteral("the device went away while listening");
  } else if (listener_->Frames() == 0) {
    text += QStringLiteral("no meter frames in ") + seconds +
            QStringLiteral(" s (is the meter on and its PC output enabled?)");
  } else {
    text += QString::number(listener_->Frames()) + QStringLiteral(" meter frames in ") + seconds +
            QStringLiteral(" s, last ") + QString::fromLatin1(listener_->Last().c_str());
  }
  listener_.reset();
  status_->setText(text);
  UpdateButtons();
}

void SerialDevicesDlg::UseAsPort() {
  const SerialDevice* device = Chosen();
  if (device == nullptr) return;
  const std::string port = PortName(portBox_->currentIndex());
  const std::string path = StableName(*device);
  QString where;
  if (!hooks_.storePort(port, path, where)) {
    status_->setText(Q(port) + QStringLiteral(" could not be stored in ") + where);
    return;
  }
  status_->setText(Q(port) + QStringLiteral(" is now ") + Q(path) + QStringLiteral(" (stored in ") +
                   where + QStringLiteral(")"));
  const int row = devices_->indexOfTopLevelItem(devices_->currentItem());
  Refresh();
  devices_->setCurrentItem(devices_->topLevelItem(row));
}

}  // namespace ql
