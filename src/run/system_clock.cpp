#include "run/system_clock.h"

#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>

namespace ql {

std::string SystemClock::LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  // The desktop face sets the global locale from the environment, where
  // "%X" may read "2:05:07 PM"; the list's time column is always C's.
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text << std::put_time(&local, "%X");
  return text.str();
}

}  // namespace ql
