#pragma once
// A Clock that tells whatever time the test sets.

#include <string>

#include "run/clock.h"

namespace ql::test_support {

class FixedClock : public Clock {
 public:
  std::string text = "14:02:37";
  std::string LocalTimeText() override { return text; }
};

}  // namespace ql::test_support
