#include "ports/serial_devices.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

#include "support/poll_until.h"
#include "support/pty.h"
#include "support/temp_dir.h"

namespace ql {
namespace {

namespace fs = std::filesystem;
using test_support::WriteBytes;

// A sysfs and /dev tree as the kernel and udev lay them out for a USB
// adapter (ttyUSB0, whose node is a real pseudo-terminal), a modem-class
// adapter (ttyACM0), a built-in UART with hardware (ttyS1), one without
// (ttyS0) and a virtual console (tty0).
class SerialDevicesTest : public test_support::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    ASSERT_TRUE(pty_.ok());
    roots_.sys = PathOf("sys");
    roots_.dev = PathOf("dev");
    const fs::path sys = roots_.sys;
    const fs::path usb = sys / "devices/pci0000:00/usb1/1-2";
    Attribute(usb / "idVendor", "0403");
    Attribute(usb / "idProduct", "6001");
    Attribute(usb / "manufacturer", "Cable Works");
    Attribute(usb / "product", "USB Serial");
    Attribute(usb / "serial", "A50285BI");
    Tty("ttyUSB0", usb / "1-2:1.0/ttyUSB0", "usb-serial/drivers/ftdi_sio");
    Tty("ttyACM0", sys / "devices/pci0000:00/usb1/1-3/1-3:1.0", "usb/drivers/cdc_acm");
    Attribute(sys / "devices/pci0000:00/usb1/1-3/idVendor", "2341");
    Attribute(sys / "devices/pci0000:00/usb1/1-3/idProduct", "0043");
    Tty("ttyS0", sys / "devices/platform/serial8250/tty/ttyS0", "platform/drivers/serial8250", "0");
    // Newer kernels: the serial core's port and controller devices stand
    // between the tty and the hardware's driver.
    const fs::path uart = sys / "devices/pnp0/00:01";
    Tty("ttyS1", uart / "00:01:0/00:01:0.0", "serial-base/drivers/port", "4");
    Link(uart / "00:01:0/driver", sys / "bus/serial-base/drivers/ctrl");
    Link(uart / "driver", sys / "bus/pnp/drivers/serial");
    fs::create_directories(sys / "class/tty/tty0");

    const fs::path dev = roots_.dev;
    fs::create_directories(dev / "serial/by-id");
    fs::create_directories(dev / "serial/by-path");
    fs::create_symlink(pty_.SlavePath(), dev / "ttyUSB0");
    fs::create_symlink("../../ttyUSB0", dev / "serial/by-id/usb-Cable_Works_USB_Serial_A50285BI-if00-port0");
    fs::create_symlink("../../ttyUSB0", dev / "serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0");
    WriteBytes((dev / "ttyACM0").string(), "");
    ::chmod((dev / "ttyACM0").c_str(), 0660);
    WriteBytes((dev / "ttyS1").string(), "");
    ::chmod((dev / "ttyS1").c_str(), 0666);
  }

  static void Attribute(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << "\n";
  }
  static void Link(const fs::path& link, const fs::path& target) {
    fs::create_directories(target);
    fs::create_directory_symlink(target, link);
  }
  void Tty(const std::string& name, const fs::path& device, const std::string& driver,
           const std::string& type = "") {
    const fs::path sys = roots_.sys;
    const fs::path driverDir = sys / "bus" / driver;
    fs::create_directories(device);
    fs::create_directories(driverDir);
    if (!fs::exists(device / "driver")) fs::create_directory_symlink(driverDir, device / "driver");
    const fs::path ttyDir = sys / "class/tty" / name;
    fs::create_directories(ttyDir);
    fs::create_directory_symlink(device, ttyDir / "device");
    if (!type.empty()) Attribute(ttyDir / "type", type);
  }
  const SerialDevice* Find(const std::vector<SerialDevice>& devices, const std::string& name) {
    for (const auto& device : devices)
      if (device.name == name) return &device;
    return nullptr;
  }

  test_support::Pty pty_;
  ScanRoots roots_;
  Identity user_{4242, "meterman", {4242}};
};

TEST_F(SerialDevicesTest, ListsDevicesWithHardwareOnly) {
  const auto devices = ScanSerialDevices(roots_, user_);
  std::vector<std::string> names;
  for (const auto& device : devices) names.push_back(device.name);
  EXPECT_EQ(names, (std::vector<std::string>{"ttyACM0", "ttyS1", "ttyUSB0"}));
}

TEST_F(SerialDevicesTest, ReadsStableNamesDriverAndUsbIdentity) {
  const auto devices = ScanSerialDevices(roots_, user_);
  const SerialDevice* usb = Find(devices, "ttyUSB0");
  ASSERT_NE(usb, nullptr);
  EXPECT_EQ(usb->devicePath, roots_.dev + "/ttyUSB0");
  EXPECT_EQ(usb->byId, std::vector<std::string>{roots_.dev + "/serial/by-id/usb-Cable_Works_USB_Serial_A50285BI-if00-port0"});
  EXPECT_EQ(usb->byPath.size(), 1u);
  EXPECT_EQ(usb->driver, "ftdi_sio");
  EXPECT_EQ(usb->usbId, "0403:6001");
  EXPECT_EQ(usb->maker, "Cable Works");
  EXPECT_EQ(usb->product, "USB Serial");
  EXPECT_EQ(usb->serial, "A50285BI");

  const SerialDevice* acm = Find(devices, "ttyACM0");
  ASSERT_NE(acm, nullptr);
  EXPECT_EQ(acm->usbId, "2341:0043");
  EXPECT_EQ(acm->maker, "");
  EXPECT_TRUE(acm->byId.empty());
  const SerialDevice* uart = Find(devices, "ttyS1");
  ASSERT_NE(uart, nullptr);
  EXPECT_EQ(uart->driver, "serial");
  EXPECT_EQ(uart->usbId, "");
}

TEST_F(SerialDevicesTest, PermissionProblemNamesTheGroupAndTheMend) {
  const auto devices = ScanSerialDevices(roots_, user_);
  const SerialDevice* acm = Find(devices, "ttyACM0");
  ASSERT_NE(acm, nullptr);
  struct stat info {};
  ASSERT_EQ(::stat(acm->devicePath.c_str(), &info), 0);
  ASSERT_NE(info.st_gid, 4242u);
  EXPECT_FALSE(acm->access.canOpen);
  EXPECT_NE(acm->access.problem.find("which you are not in"), std::string::npos) << acm->access.problem;
  EXPECT_EQ(acm->access.mend.rfind("sudo usermod -aG ", 0), 0u) << acm->access.mend;
  EXPECT_NE(acm->access.mend.find(" meterman"), std::string::npos);

  Identity member = user_;
  member.groups.push_back(info.st_gid);
  EXPECT_TRUE(CheckAccess(acm->devicePath, member, "/proc").canOpen);
  const SerialDevice* uart = Find(devices, "ttyS1");
  ASSERT_NE(uart, nullptr);
  EXPECT_TRUE(uart->access.canOpen);  // open to all
}

// Runs `argv` with the pseudo-terminal as its standard input until killed.
class Holder {
 public:
  Holder(const std::string& device, std::vector<std::string> words) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, device.c_str(), O_RDWR | O_NOCTTY, 0);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = 0;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Holder() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = 0;
};

// Checks until `done` holds for the answer or a generous deadline passes
// (the child needs a moment to open and lock).
DeviceAccess CheckUntil(const std::string& path, const Identity& who,
                        const std::function<bool(const DeviceAccess&)>& done) {
  DeviceAccess access;
  test_support::PollUntil(
      [&] {
        access = CheckAccess(path, who, "/proc");
        return done(access);
      },
      std::chrono::seconds(20), std::chrono::milliseconds(10));
  return access;
}

TEST_F(SerialDevicesTest, ProcessesWithTheDeviceOpenAreNamed) {
  struct stat info {};
  ASSERT_EQ(::stat(pty_.SlavePath().c_str(), &info), 0);
  const Identity owner{info.st_uid, "", {info.st_gid}};
  const std::string node = roots_.dev + "/ttyUSB0";
  const DeviceAccess free = CheckAccess(node, owner, "/proc");
  EXPECT_TRUE(free.canOpen);
  EXPECT_EQ(free.alsoOpenIn, "");

  {  // open but not locked: opening works, the bytes would be shared
    Holder reader(pty_.SlavePath(), {"sleep", "600"});
    ASSERT_GT(reader.Pid(), 0);
    // Until the child has become "sleep" it bears the test's own name.
    const std::string sleeping = std::to_string(reader.Pid()) + " (sleep)";
    const DeviceAccess shared =
        CheckUntil(node, owner, [&](const DeviceAccess& a) { return a.alsoOpenIn == sleeping; });
    EXPECT_TRUE(shared.canOpen);
    EXPECT_EQ(shared.alsoOpenIn, sleeping);
  }
  {  // locked as a serial program locks it: held
    Holder locker(pty_.SlavePath(), {"flock", "--exclusive", "--no-fork", pty_.SlavePath(), "sleep", "600"});
    ASSERT_GT(locker.Pid(), 0);
    const std::string holder = "held by process " + std::to_string(locker.Pid()) + " (sleep)";
    const DeviceAccess held =
        CheckUntil(node, owner, [&](const DeviceAccess& a) { return a.problem == holder; });
    EXPECT_FALSE(held.canOpen);
    EXPECT_EQ(held.problem, holder);
    EXPECT_EQ(held.mend.rfind("kill " + std::to_string(locker.Pid()), 0), 0u);
  }
}

TEST_F(SerialDevicesTest, MissingDeviceNodeIsSaid) {
  const DeviceAccess access = CheckAccess(PathOf("dev/ttyUSB9"), user_, "/proc");
  EXPECT_FALSE(access.canOpen);
  EXPECT_NE(access.problem.find("does not exist"), std::string::npos);
}

}  // namespace
}  // namespace ql
