// The Tools pop-up against a simulated meter on a pseudo-terminal: the live
// link status window, capturing the raw bytes of a run (and a disk that
// fills under it), and the serial devices window with Listen and Use as.

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

#include "app/frame_ids.h"
#include "app/link_status_window.h"
#include "app/serial_devices_dlg.h"
#include "capture/capture_reader.h"
#include "gui_fixture.h"
#include "pty_meter.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"
#include "run/ids.h"
#include "sim/meter_words.h"
#include "support/view_probe.h"

namespace ql::test_support {
namespace {

namespace fs = std::filesystem;

class ToolsTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ASSERT_TRUE(meter->ok());
    Setting(QStringLiteral("COMM/COM2"), QString::fromStdString(meter->SlavePath()));
    Setting(QStringLiteral("Sampling Time/Current"), 10);
    QObject::connect(&sender, &QTimer::timeout, [this] { meter->Send(); });
    sender.start(100);
  }
  void StartRun() {
    Start();
    Trigger(cmd::kRunStart);
    ASSERT_EQ(ViewProbe(window->View()).m_bRecording, 1);
  }
  std::string Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

  std::vector<std::string> words{"--reading", "DC 12.34 V"};
  std::unique_ptr<PtyMeter> meter = std::make_unique<PtyMeter>(words);
  QTimer sender;
};

TEST_F(ToolsTest, LinkStatusShowsTheLinksCountersLive) {
  StartRun();
  Trigger(frame_cmd::kLinkStatus);
  auto* status = frame->findChild<LinkStatusWindow*>(QStringLiteral("linkStatus"));
  ASSERT_NE(status, nullptr);
  EXPECT_TRUE(status->isVisible());
  ASSERT_TRUE(WaitFor([&] { return status->Value("frames").toInt() >= 3; }));
  const LinkCounters& counters = ViewProbe(window->View()).m_link.Counters();
  EXPECT_GE(status->Value("received").toULongLong(), 14 * 3u);
  EXPECT_LE(status->Value("received").toULongLong(), counters.bytesReceived);
  EXPECT_EQ(status->Value("skipped"), QStringLiteral("0"));
  EXPECT_TRUE(status->Value("last-frame").endsWith(QLatin1Char('s'))) << status->Value("last-frame").toStdString();
  // A pseudo-terminal has no modem lines.
  for (const char* input : {"cd", "dsr", "cts"}) EXPECT_EQ(status->Value(input), QStringLiteral("n/a"));
  auto* port = status->findChild<QLabel*>(QStringLiteral("linkStatus_port"));
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(port->text(), QStringLiteral("COM2 ") + QString::fromStdString(meter->SlavePath()));

  // The same window comes back; it follows the ticks, and goes with its
  // measuring window.
  Trigger(frame_cmd::kLinkStatus);
  EXPECT_EQ(frame->findChildren<LinkStatusWindow*>().size(), 1);
  sender.stop();
  ASSERT_TRUE(WaitFor([&] { return status->Value("last-frame").chopped(1).toDouble() >= 0.5; }));
  meter->Unplug();
  ASSERT_TRUE(WaitFor([&] { return port->text().endsWith(QStringLiteral("(lost)")); }));
  QPointer<LinkStatusWindow> watched(status);
  delete window;
  window = nullptr;
  EXPECT_TRUE(watched.isNull());
}

TEST_F(ToolsTest, CaptureRawBytesKeepsWhatTheLinkReadsWhileTheRunGoesOn) {
  Start();
  EXPECT_FALSE(Enabled(frame_cmd::kCaptureRaw)) << "no run";
  Trigger(cmd::kRunStart);
  ASSERT_TRUE(Enabled(frame_cmd::kCaptureRaw));
  const std::string path = Path("run.qlcap");
  dialogs.fileAnswers.push_back(QString::fromStdString(path));
  Trigger(frame_cmd::kCaptureRaw);
  ASSERT_TRUE(window->Capturing());
  EXPECT_TRUE(frame->Action(frame_cmd::kCaptureRaw)->isChecked());
  EXPECT_EQ(dialogs.fileDialogs.back().defaultExtension, "qlcap");
  const std::uint64_t before = ViewProbe(window->View()).m_link.Counters().bytesReceived;
  const int lines = window->Form().ListCount();
  ASSERT_TRUE(WaitFor([&] { return window->Form().ListCount() >= lines + 3; }));
  Trigger(frame_cmd::kCaptureRaw);  // ends it
  EXPECT_FALSE(window->Capturing());
  EXPECT_FALSE(frame->Action(frame_cmd::kCaptureRaw)->isChecked());
  const std::uint64_t during = ViewProbe(window->View()).m_link.Counters().bytesReceived - before;
  EXPECT_EQ(ViewProbe(window->View()).m_bRecording, 1) << "the run goes on";

  // The file is written off the GUI thread, at least once a second.
  std::string bytes;
  const auto captured = [&] {
    Capture capture;
    bytes.clear();
    if (!ReadCaptureFile(path, capture).ok()) return false;
    for (const CaptureRead& read : capture.reads) {
      const auto piece = capture.Bytes(read);
      bytes.append(piece.begin(), piece.end());
    }
    return bytes.size() == during;
  };
  ASSERT_TRUE(WaitFor(captured)) << bytes.size() << " of " << during;
  EXPECT_NE(bytes.find(*FrameFor("DC 12.34 V")), std::string::npos);

  // A capture ends with its run.
  dialogs.fileAnswers.push_back(QString::fromStdString(Path("second.qlcap")));
  Trigger(frame_cmd::kCaptureRaw);
  ASSERT_TRUE(window->Capturing());
  Trigger(cmd::kRunStop);
  ASSERT_TRUE(WaitFor([&] { return !window->Capturing(); }));
  EXPECT_FALSE(Enabled(frame_cmd::kCaptureRaw));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ToolsTest, CaptureOnAFullDiskIsToldOnceAndTheRunGoesOn) {
  const fs::path small = Path("small");
  fs::create_directory(small);
  TmpfsMount mount;
  if (!mount.Mount(small.string(), 64)) GTEST_SKIP() << "needs the right to mount a tmpfs";
  std::ofstream(small / "filler", std::ios::binary) << std::string(60 * 1024, 'f');
  words = {"--reading", "DC 12.34 V", "--noise", "10"};
  meter = std::make_unique<PtyMeter>(words);
  ASSERT_TRUE(meter->ok());
  Setting(QStringLiteral("COMM/COM2"), QString::fromStdString(meter->SlavePath()));
  sender.start(20);
  StartRun();
  dialogs.fileAnswers.push_back(QString::fromStdString((small / "run.qlcap").string()));
  Trigger(frame_cmd::kCaptureRaw);
  ASSERT_TRUE(window->Capturing());
  ASSERT_TRUE(WaitFor([&] { return !dialogs.messages.empty(); }, 15000));
  EXPECT_FALSE(window->Capturing());
  EXPECT_EQ(dialogs.messages.front().text, QStringLiteral("Capture stopped"));
  EXPECT_TRUE(dialogs.messages.front().detail.contains(QStringLiteral("No space left on device")))
      << dialogs.messages.front().detail.toStdString();
  EXPECT_TRUE(Pane(pane::kMessage).startsWith(QStringLiteral("Capture stopped: ")));
  const int lines = window->Form().ListCount();
  ASSERT_TRUE(WaitFor([&] { return window->Form().ListCount() >= lines + 2; })) << "the run goes on";
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_FALSE(frame->Action(frame_cmd::kCaptureRaw)->isChecked());
}

// A machine with one USB adapter, laid out as the kernel and udev do, whose
// device node is the simulated meter's pseudo-terminal.
class SerialDevicesTest : public ToolsTest {
 protected:
  void SetUp() override {
    ToolsTest::SetUp();
    roots.sys = Path("sys");
    roots.dev = Path("dev");
    const fs::path usb = fs::path(roots.sys) / "devices/usb1/1-2";
    Attribute(usb / "idVendor", "0403");
    Attribute(usb / "idProduct", "6001");
    Attribute(usb / "manufacturer", "Cable Works");
    const fs::path tty = usb / "1-2:1.0/ttyUSB0";
    const fs::path driver = fs::path(roots.sys) / "bus/usb-serial/drivers/ftdi_sio";
    fs::create_directories(tty);
    fs::create_directories(driver);
    fs::create_directory_symlink(driver, tty / "driver");
    fs::create_directories(fs::path(roots.sys) / "class/tty/ttyUSB0");
    fs::create_directory_symlink(tty, fs::path(roots.sys) / "class/tty/ttyUSB0/device");
    const fs::path dev = roots.dev;
    fs::create_directories(dev / "serial/by-id");
    fs::create_symlink(meter->SlavePath(), dev / "ttyUSB0");
    byId = (dev / "serial/by-id/usb-Cable_Works_USB_Serial-if00-port0").string();
    fs::create_symlink("../../ttyUSB0", byId);
  }
  static void Attribute(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << "\n";
  }

  ScanRoots roots;
  std::string byId;
};

TEST_F(SerialDevicesTest, ListsTheDeviceListensAndStoresItsStableNameAsAPort) {
  // A comment and a key of another program in the settings stay.
  {
    std::ofstream out(settingsPath.toStdString(), std::ios::app);
    out << "; my meter setup\n[Other]\nkept=yes\n";
  }
  Start();
  frame->SetDeviceScanRoots(roots);
  Trigger(frame_cmd::kSerialDevices);
  SerialDevicesDlg* dlg = frame->SerialDevices();
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->isVisible());
  ASSERT_EQ(dlg->Devices()->topLevelItemCount(), 1);
  const QTreeWidgetItem* row = dlg->Devices()->topLevelItem(0);
  EXPECT_EQ(row->text(0).toStdString(), roots.dev + "/ttyUSB0");
  EXPECT_EQ(row->text(1).toStdString(), byId);
  EXPECT_EQ(row->text(2), QStringLiteral("ftdi_sio"));
  EXPECT_EQ(row->text(3), QStringLiteral("0403:6001 Cable Works"));
  EXPECT_EQ(row->text(4), QStringLiteral("COM2")) << "COM2 maps to the same pseudo-terminal";
  EXPECT_EQ(dlg->PortLabel(1)->text().toStdString(), meter->SlavePath());
  EXPECT_EQ(dlg->PortLabel(0)->text(), QStringLiteral("/dev/ttyS0") +
                                           (fs::exists("/dev/ttyS0") ? QString()
                                                                     : QStringLiteral("  (not there now)")));

  dlg->ListenButton()->click();
  EXPECT_FALSE(dlg->ListenButton()->isEnabled());
  ASSERT_TRUE(WaitFor([&] { return dlg->ListenButton()->isEnabled(); }, 10000));
  EXPECT_TRUE(dlg->StatusLine()->text().contains(QStringLiteral(" meter frames in 3 s, last 12.34 V")))
      << dlg->StatusLine()->text().toStdString();

  dlg->PortBox()->setCurrentIndex(2);
  EXPECT_EQ(dlg->UseButton()->text(), QStringLiteral("&Use as COM3"));
  dlg->UseButton()->click();
  EXPECT_TRUE(dlg->StatusLine()->text().startsWith(QStringLiteral("COM3 is now ") + QString::fromStdString(byId)));
  EXPECT_EQ(dlg->PortLabel(2)->text().toStdString(), byId + "  -> " + fs::canonical(byId).string());
  EXPECT_EQ(dlg->Devices()->topLevelItem(0)->text(4), QStringLiteral("COM2, COM3"));
  EXPECT_EQ(window->DevicePath("COM3"), byId);
  const std::string text = test_support::ReadBytes(settingsPath.toStdString());
  EXPECT_NE(text.find("COM3=" + byId), std::string::npos) << text;
  EXPECT_NE(text.find("; my meter setup"), std::string::npos) << text;
  EXPECT_NE(text.find("kept=yes"), std::string::npos) << text;

  // The next run on COM3 opens the device by its stable name.
  ViewProbe(window->View()).m_rsCom.m_nComPort = 2;
  Trigger(cmd::kRunStart);
  ASSERT_EQ(ViewProbe(window->View()).m_bRecording, 1);
  ASSERT_TRUE(WaitFor([&] { return window->Form().ListCount() >= 1; }));
}

TEST_F(SerialDevicesTest, DeviceInUseCannotBeListenedTo) {
  StartRun();  // COM2: the meter's pseudo-terminal, taken exclusively
  frame->SetDeviceScanRoots(roots);
  Trigger(frame_cmd::kSerialDevices);
  SerialDevicesDlg* dlg = frame->SerialDevices();
  ASSERT_NE(dlg, nullptr);
  dlg->ListenButton()->click();
  EXPECT_TRUE(dlg->StatusLine()->text().startsWith(QStringLiteral("Cannot listen: ")))
      << dlg->StatusLine()->text().toStdString();
  EXPECT_TRUE(dlg->StatusLine()->text().contains(QStringLiteral("already in use")));
  EXPECT_TRUE(dlg->ListenButton()->isEnabled());
}

}  // namespace
}  // namespace ql::test_support
