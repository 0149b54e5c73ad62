#include "run/journal_sink.h"

#include <chrono>
#include <ctime>

namespace ql {

const char* RunEventName(RunEventKind kind) {
  switch (kind) {
    case RunEventKind::kStart: return "start";
    case RunEventKind::kPause: return "pause";
    case RunEventKind::kResume: return "resume";
    case RunEventKind::kStop: return "stop";
    case RunEventKind::kListCleared: return "list cleared";
    case RunEventKind::kLineLost: return "line lost";
    case RunEventKind::kLineBack: return "line back";
    case RunEventKind::kMeterSilent: return "meter silent";
    case RunEventKind::kMeterHeardAgain: return "meter heard again";
    case RunEventKind::kSaved: return "saved";
    case RunEventKind::kJournalError: return "journal error";
  }
  return "unknown";
}

WallTime SystemWallClock::Now() {
  const auto now = std::chrono::system_clock::now();
  const std::int64_t us =
      std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  return WallTime{us, static_cast<std::int32_t>(local.tm_gmtoff)};
}

}  // namespace ql
