// The real clock writes the list's time column in the C locale's "%X" form
// whatever the program's locale.

#include <gtest/gtest.h>

#include <clocale>
#include <regex>

#include "run/system_clock.h"

namespace ql {
namespace {

TEST(SystemClockTest, TimeIsTwentyFourHourWithColonsInAnyLocale) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  // Whichever of these exists here; C.UTF-8 at least does on Debian.
  for (const char* name : {"en_US.UTF-8", "de_DE.UTF-8", "C.UTF-8"}) {
    if (std::setlocale(LC_ALL, name) == nullptr) continue;
    std::locale::global(std::locale(name));
    SCOPED_TRACE(name);
    SystemClock clock;
    EXPECT_TRUE(
        std::regex_match(clock.LocalTimeText(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]")));
  }
  std::locale::global(std::locale::classic());
  std::setlocale(LC_ALL, before.c_str());
}

}  // namespace
}  // namespace ql
