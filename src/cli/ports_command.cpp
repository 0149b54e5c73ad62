// quintaline-cli ports: which serial devices this machine has, which port
// name of the settings file stands for each, whether this user can open it
// and what mends it when not. With --listen each device that can be opened
// is opened as the meter link opens it (2400 baud, DTR and RTS raised) and
// only read: nothing is ever written to a port.

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "cli/run_loop.h"
#include "ports/port_listener.h"
#include "ports/serial_devices.h"
#include "qtsupport/settings_store.h"

namespace ql::cli {

namespace {

constexpr int kComPorts = 4;
constexpr int kTicksPerSecond = 20;

struct Heard {
  long long frames = 0;  // frames the decoder accepted
  std::string last;      // the last of them, as display and unit
};

struct PortEntry {
  SerialDevice device;
  std::vector<std::string> comNames;
  std::optional<Heard> heard;
};

std::string Canonical(const std::string& path) {
  std::error_code ec;
  const auto canonical = std::filesystem::canonical(path, ec);
  return ec ? path : canonical.string();
}

// A device named on the command line that the kernel's list does not hold
// (a pseudo-terminal, a path that does not exist).
SerialDevice NamedDevice(const std::string& path, const Identity& who) {
  SerialDevice device;
  device.name = std::filesystem::path(Canonical(path)).filename();
  device.devicePath = path;
  device.access = CheckAccess(path, who, "/proc");
  return device;
}

std::vector<PortEntry> Entries(const std::vector<std::string>& named, DeviceMap& comMap) {
  const Identity who = CurrentIdentity();
  std::vector<SerialDevice> devices = ScanSerialDevices(ScanRoots{}, who);
  if (!named.empty()) {
    std::vector<SerialDevice> chosen;
    for (const std::string& path : named) {
      const auto found = std::find_if(devices.begin(), devices.end(), [&](const auto& d) {
        return Canonical(d.devicePath) == Canonical(path);
      });
      chosen.push_back(found != devices.end() ? *found : NamedDevice(path, who));
    }
    devices = std::move(chosen);
  }
  std::vector<PortEntry> entries;
  for (SerialDevice& device : devices) {
    PortEntry entry{std::move(device), {}, std::nullopt};
    for (int port = 1; port <= kComPorts; ++port) {
      const std::string name = "COM" + std::to_string(port);
      const std::string mapped = comMap(name);
      if (!mapped.empty() && Canonical(mapped) == Canonical(entry.device.devicePath))
        entry.comNames.push_back(name);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

// Listens on every entry that can be opened for `seconds`, all at once.
void Listen(std::vector<PortEntry>& entries, long long seconds) {
  struct Listener {
    PortEntry* entry;
    std::unique_ptr<PortListener> port;
  };
  std::vector<Listener> listeners;
  for (PortEntry& entry : entries) {
    if (!entry.device.access.canOpen) continue;
    auto port = std::make_unique<PortListener>(entry.device.devicePath);
    if (const Status status = port->Open(); !status.ok()) {
      entry.device.access = DeviceAccess{false, status.reason(), "", ""};
      continue;
    }
    entry.heard = Heard{};
    listeners.push_back({&entry, std::move(port)});
  }
  if (listeners.empty()) return;
  InstallStopSignals();
  long long ticks = seconds * kTicksPerSecond;
  RunTicks([&] {
    for (Listener& listener : listeners) {
      listener.port->Tick();
      listener.entry->heard->frames = listener.port->Frames();
      listener.entry->heard->last = listener.port->Last();
    }
    return --ticks > 0;
  });
  for (Listener& listener : listeners) listener.port->Close();
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (const std::string& item : items) out += (out.size() > 1 ? "," : "") + JsonString(item);
  return out + "]";
}

void PrintJson(const std::vector<PortEntry>& entries, long long seconds) {
  std::string out = "{\"devices\":[";
  for (const PortEntry& entry : entries) {
    const SerialDevice& d = entry.device;
    if (&entry != &entries.front()) out += ",";
    out += "{\"name\":" + JsonString(d.name) + ",\"path\":" + JsonString(d.devicePath) +
           ",\"by_id\":" + JsonList(d.byId) + ",\"by_path\":" + JsonList(d.byPath) +
           ",\"driver\":" + JsonString(d.driver) + ",\"usb_id\":" + JsonString(d.usbId) +
           ",\"maker\":" + JsonString(d.maker) + ",\"product\":" + JsonString(d.product) +
           ",\"serial\":" + JsonString(d.serial) + ",\"com\":" + JsonList(entry.comNames) +
           ",\"can_open\":" + (d.access.canOpen ? "true" : "false") +
           ",\"problem\":" + JsonString(d.access.problem) + ",\"mend\":" + JsonString(d.access.mend) +
           ",\"also_open_in\":" + JsonString(d.access.alsoOpenIn);
    if (entry.heard) {
      out += ",\"listen\":{\"seconds\":" + std::to_string(seconds) +
             ",\"frames\":" + std::to_string(entry.heard->frames) +
             ",\"last\":" + JsonString(entry.heard->last) + "}";
    }
    out += "}";
  }
  PrintLine(out + "]}");
}

void PrintText(const std::vector<PortEntry>& entries, long long seconds) {
  if (entries.empty()) PrintLine("No serial devices found.");
  for (const PortEntry& entry : entries) {
    const SerialDevice& d = entry.device;
    std::string head = d.devicePath;
    if (!d.driver.empty()) head += "  driver " + d.driver;
    if (!d.usbId.empty()) head += "  USB " + d.usbId;
    for (const std::string* text : {&d.maker, &d.product})
      if (!text->empty()) head += "  " + Quoted(*text);
    if (!d.serial.empty()) head += "  serial " + d.serial;
    PrintLine(head);
    for (const std::string& name : d.byId) PrintLine("  by-id:   " + name);
    for (const std::string& name : d.byPath) PrintLine("  by-path: " + name);
    std::string ports;
    for (const std::string& name : entry.comNames) ports += (ports.empty() ? "" : ", ") + name;
    PrintLine("  port:    " + (ports.empty() ? std::string("none of COM1 to COM4") : ports));
    if (d.access.canOpen) {
      PrintLine("  access:  can be opened");
      if (!d.access.alsoOpenIn.empty())
        PrintLine("  note:    also open in process " + d.access.alsoOpenIn +
                  ", which would share its bytes");
    } else {
      PrintLine("  access:  cannot be opened: " + d.access.problem);
      if (!d.access.mend.empty()) PrintLine("  mend:    " + d.access.mend);
    }
    if (entry.heard) {
      const Heard& heard = *entry.heard;
      PrintLine(heard.frames == 0
                    ? "  listen:  no meter frames in " + std::to_string(seconds) + " s"
                    : "  listen:  " + std::to_string(heard.frames) + " meter frames in " +
                          std::to_string(seconds) + " s, last " + heard.last);
    }
  }
}

}  // namespace

int RunPorts(const Words& words) {
  Args args;
  args.Flag("--json");
  args.Value("--listen");
  args.Value("--settings");
  if (!args.Parse(words)) return UsageError("ports", args.Error(), kPortsUsage);
  long long seconds = 0;
  if (const auto text = args.Get("--listen")) {
    const auto parsed = ParseInteger(*text, 1, 3600);
    if (!parsed) return UsageError("ports", "--listen must be whole seconds from 1 to 3600", kPortsUsage);
    seconds = *parsed;
  }
  SettingsStore store(SettingsPath(QString::fromStdString(args.Get("--settings").value_or(""))));
  DeviceMap comMap = StoreDeviceMap(store);
  std::vector<PortEntry> entries = Entries(args.Positionals(), comMap);
  if (seconds > 0) Listen(entries, seconds);
  if (args.Has("--json"))
    PrintJson(entries, seconds);
  else
    PrintText(entries, seconds);
  return kExitOk;
}

}  // namespace ql::cli
