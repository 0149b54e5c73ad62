#pragma once
// How the port names the meter link builds ("COM1" .. "COM4", "\\.\TELNET")
// become device paths on this system. The faces pass a DeviceMap to the
// POSIX line: the desktop face looks the name up in its settings first and
// falls back to DefaultDevicePath; the command-line face maps every name to
// the path it was given.

#include <functional>
#include <string>
#include <string_view>

namespace ql {

// Returns the device path for a port name; an empty path means that no
// device stands for the name (opening it fails as for an absent port).
using DeviceMap = std::function<std::string(const std::string& portName)>;

// The usual places: COM1 -> /dev/ttyS0 (a built-in port), COM2 -> /dev/ttyUSB0,
// COM3 -> /dev/ttyUSB1 (USB-serial adapters), COM4 -> /dev/ttyACM0 (a USB
// modem-class adapter). Any other name, the TELNET name included, gives "".
std::string DefaultDevicePath(std::string_view portName);

}  // namespace ql
