#pragma once
// The local time of a tick as the list of readings shows it.

#include <string>

namespace ql {

class Clock {
 public:
  virtual ~Clock() = default;
  // The current local time formatted with "%X" in the C locale: "HH:MM:SS".
  virtual std::string LocalTimeText() = 0;
};

}  // namespace ql
