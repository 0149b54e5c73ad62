#pragma once
// The clock of the real program: the local time of the system, formatted
// with "%X" in the C locale (HH:MM:SS, 24-hour) whatever locale the program
// runs in.

#include <string>

#include "run/clock.h"

namespace ql {

class SystemClock : public Clock {
 public:
  std::string LocalTimeText() override;
};

}  // namespace ql
