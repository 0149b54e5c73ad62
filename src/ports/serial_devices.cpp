#include "ports/serial_devices.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

namespace ql {

namespace fs = std::filesystem;

namespace {

std::string ReadAttribute(const fs::path& file) {
  std::ifstream in(file);
  std::string text;
  std::getline(in, text);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
  return text;
}

// The names in `folder` that are links to the device `name`.
std::vector<std::string> LinksTo(const fs::path& folder, const std::string& name) {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const fs::path target = fs::read_symlink(entry.path(), ec);
    if (!ec && target.filename() == name) found.push_back(entry.path().string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

// A UART the kernel registered without finding hardware reports port type 0
// (USB adapters have no such attribute).
bool IsEmptyUart(const fs::path& ttyDir) {
  std::error_code ec;
  return fs::exists(ttyDir / "type", ec) && ReadAttribute(ttyDir / "type") == "0";
}

// The driver of the hardware behind the tty. Newer kernels put the serial
// core's own port and controller devices in between; their drivers say
// nothing about the hardware, so the walk goes past them.
std::string DriverOf(const fs::path& device) {
  std::error_code ec;
  fs::path dir = fs::canonical(device, ec);
  if (ec) return {};
  for (int depth = 0; depth < 4 && dir.has_relative_path(); ++depth, dir = dir.parent_path()) {
    const fs::path driver = fs::read_symlink(dir / "driver", ec);
    if (ec) return {};
    if (driver.parent_path().parent_path().filename() != "serial-base") return driver.filename();
  }
  return {};
}

// Walks up from the tty's device to the USB device that carries the
// identity attributes.
void ReadUsbIdentity(const fs::path& device, SerialDevice& out) {
  std::error_code ec;
  fs::path dir = fs::canonical(device, ec);
  if (ec) return;
  for (int depth = 0; depth < 6 && dir.has_relative_path(); ++depth, dir = dir.parent_path()) {
    if (!fs::exists(dir / "idVendor", ec)) continue;
    out.usbId = ReadAttribute(dir / "idVendor") + ":" + ReadAttribute(dir / "idProduct");
    out.maker = ReadAttribute(dir / "manufacturer");
    out.product = ReadAttribute(dir / "product");
    out.serial = ReadAttribute(dir / "serial");
    return;
  }
}

std::string GroupName(gid_t gid) {
  if (const group* g = getgrgid(gid)) return g->gr_name;
  return std::to_string(gid);
}

std::string ProcessName(const fs::path& procRoot, const std::string& pid) {
  return pid + " (" + ReadAttribute(procRoot / pid / "comm") + ")";
}

// The other process that has `path` open, as "PID (NAME)", or "".
std::string OpenIn(const fs::path& path, const fs::path& procRoot) {
  std::error_code ec;
  const std::string self = std::to_string(getpid());
  for (const auto& process : fs::directory_iterator(procRoot, ec)) {
    const std::string pid = process.path().filename();
    if (pid.empty() || !std::all_of(pid.begin(), pid.end(), ::isdigit) || pid == self) continue;
    std::error_code fdError;
    for (const auto& fd : fs::directory_iterator(process.path() / "fd", fdError)) {
      std::error_code linkError;
      if (fs::read_symlink(fd.path(), linkError) == path && !linkError)
        return ProcessName(procRoot, pid);
    }
  }
  return {};
}

// The other process holding a whole-file lock on the node, or "". Lines of
// <proc>/locks: "1: FLOCK  ADVISORY  WRITE 1234 00:05:85 0 EOF".
std::string LockedBy(const struct stat& node, const fs::path& procRoot) {
  char id[64];
  std::snprintf(id, sizeof id, "%02x:%02x:%lu", major(node.st_dev), minor(node.st_dev),
                static_cast<unsigned long>(node.st_ino));
  std::ifstream locks(procRoot / "locks");
  const std::string self = std::to_string(getpid());
  for (std::string line; std::getline(locks, line);) {
    std::istringstream words(line);
    std::string number, kind, mode, access, pid, file;
    words >> number >> kind >> mode >> access >> pid >> file;
    if (kind == "->" || file != id || pid == self) continue;
    return ProcessName(procRoot, pid);
  }
  return {};
}

}  // namespace

Identity CurrentIdentity() {
  Identity who;
  who.uid = getuid();
  if (const passwd* pw = getpwuid(who.uid)) who.userName = pw->pw_name;
  // The second call fails (-1) when groups were added in between: then
  // only the primary group is known.
  const int count = getgroups(0, nullptr);
  if (count > 0) {
    who.groups.resize(static_cast<std::size_t>(count));
    const int got = getgroups(count, who.groups.data());
    who.groups.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  }
  who.groups.push_back(getgid());
  return who;
}

DeviceAccess CheckAccess(const std::string& path, const Identity& who,
                         const std::string& procRoot) {
  DeviceAccess access;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    access.problem = path + " does not exist";
    return access;
  }
  const mode_t rw = S_IRUSR | S_IWUSR;
  const bool inGroup =
      std::find(who.groups.begin(), who.groups.end(), info.st_gid) != who.groups.end();
  bool allowed = who.uid == 0;
  if (!allowed && info.st_uid == who.uid) allowed = (info.st_mode & rw) == rw;
  else if (!allowed && inGroup) allowed = (info.st_mode & (rw >> 3)) == (rw >> 3);
  else if (!allowed) allowed = (info.st_mode & (rw >> 6)) == (rw >> 6);
  if (!allowed) {
    const std::string group = GroupName(info.st_gid);
    if (!inGroup && (info.st_mode & (rw >> 3)) == (rw >> 3)) {
      access.problem = "owned by group " + group + ", which you are not in";
      access.mend = "sudo usermod -aG " + group + " " +
                    (who.userName.empty() ? std::string("$USER") : who.userName) +
                    "  (then log out and in again)";
    } else {
      access.problem = "no read-write permission for you on " + path;
      access.mend = "sudo chmod o+rw " + path;
    }
    return access;
  }
  const std::string holder = LockedBy(info, procRoot);
  if (!holder.empty()) {
    access.problem = "held by process " + holder;
    access.mend = "kill " + holder.substr(0, holder.find(' ')) + "  (or quit that program)";
    return access;
  }
  std::error_code ec;
  access.alsoOpenIn = OpenIn(fs::weakly_canonical(path, ec), procRoot);
  access.canOpen = true;
  return access;
}

std::vector<SerialDevice> ScanSerialDevices(const ScanRoots& roots, const Identity& who) {
  std::vector<SerialDevice> devices;
  std::error_code ec;
  const fs::path dev(roots.dev);
  for (const auto& entry : fs::directory_iterator(fs::path(roots.sys) / "class" / "tty", ec)) {
    const fs::path& ttyDir = entry.path();
    std::error_code linkError;
    if (!fs::exists(ttyDir / "device", linkError)) continue;  // virtual consoles, ptys
    SerialDevice device;
    device.name = ttyDir.filename();
    if (IsEmptyUart(ttyDir)) continue;
    device.driver = DriverOf(ttyDir / "device");
    device.devicePath = (dev / device.name).string();
    device.byId = LinksTo(dev / "serial" / "by-id", device.name);
    device.byPath = LinksTo(dev / "serial" / "by-path", device.name);
    ReadUsbIdentity(ttyDir / "device", device);
    device.access = CheckAccess(device.devicePath, who, roots.proc);
    devices.push_back(std::move(device));
  }
  std::sort(devices.begin(), devices.end(),
            [](const SerialDevice& a, const SerialDevice& b) { return a.name < b.name; });
  return devices;
}

}  // namespace ql
