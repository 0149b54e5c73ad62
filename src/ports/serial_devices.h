#pragma once
// The serial devices of this machine as the kernel lists them: every entry
// of <sys>/class/tty with a device behind it (a built-in UART that the
// kernel found no hardware for is left out), with its stable names under
// <dev>/serial/by-id and by-path, its driver, the USB identity of the
// adapter where there is one, and whether this user can open it.
//
// The roots are parameters so that a test can lay out a tree of its own.

#include <sys/types.h>

#include <string>
#include <vector>

namespace ql {

struct ScanRoots {
  std::string sys = "/sys";
  std::string dev = "/dev";
  std::string proc = "/proc";
};

// Who asks: a user id and the group ids of this process.
struct Identity {
  uid_t uid = 0;
  std::string userName;
  std::vector<gid_t> groups;
};
Identity CurrentIdentity();

struct DeviceAccess {
  bool canOpen = false;
  std::string problem;  // why not, empty when it can be opened
  std::string mend;     // the command that mends it, empty when none is known
  // Another process that has it open without locking it ("PID (NAME)"):
  // opening works, but the bytes would be shared.
  std::string alsoOpenIn;
};

struct SerialDevice {
  std::string name;        // "ttyUSB0"
  std::string devicePath;  // <dev>/ttyUSB0
  std::vector<std::string> byId;    // stable names pointing at the device
  std::vector<std::string> byPath;
  std::string driver;      // "ftdi_sio", "cdc_acm", "serial8250", ...
  std::string usbId;       // "0403:6001", empty for no USB adapter
  std::string maker;
  std::string product;
  std::string serial;
  DeviceAccess access;
};

// Lists the devices by name. Holders are processes other than this one.
std::vector<SerialDevice> ScanSerialDevices(const ScanRoots& roots, const Identity& who);

// Whether `who` may open `path` read-write and, if not, why: permissions,
// or another process holding the lock that a serial program takes.
DeviceAccess CheckAccess(const std::string& path, const Identity& who, const std::string& procRoot);

}  // namespace ql
