#include "link/device_map.h"

#include <array>
#include <utility>

namespace ql {

std::string DefaultDevicePath(std::string_view portName) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kDefaults = {{
      {"COM1", "/dev/ttyS0"},
      {"COM2", "/dev/ttyUSB0"},
      {"COM3", "/dev/ttyUSB1"},
      {"COM4", "/dev/ttyACM0"},
  }};
  for (const auto& [name, path] : kDefaults) {
    if (name == portName) return std::string(path);
  }
  return {};
}

}  // namespace ql
