#pragma once
// The seam through which the view hands every recorded sample and every run
// event to a second, durable record of the run. The view knows this
// interface only; what stores it (a database, memory in tests) is wired in
// by the face.

#include <cstdint>
#include <optional>
#include <string>

namespace ql {

// A moment as the wall clock tells it, taken once per sample so that the
// date, time and offset of one sample always agree.
struct WallTime {
  std::int64_t utc_us = 0;        // microseconds since 1970-01-01T00:00:00Z
  std::int32_t utc_offset_s = 0;  // local time minus UTC, seconds
};

// What a run was recorded with, stated once when it starts.
struct RunInfo {
  std::string program_version;
  std::string face;         // "gui" or "cli"
  std::string device_path;  // e.g. /dev/ttyUSB0
  std::string port_name;    // the port's name as the settings show it
  long long sampling_ms = 0;  // the sampling setting as its menu names it, in ms
  double db_reference = 0;  // the dB reference in force at the start
};

// One recorded sample: one line of the list.
struct JournalSample {
  WallTime time;
  double seconds_since_start = 0;
  std::optional<double> value;  // empty when over range
  bool over_range = false;
  std::string display_text;  // the display as the meter showed it
  std::string function;      // the part this sample belongs to: function,
  std::string unit;          // unit and range
  std::string range;
  std::string label;
  std::string list_line;  // the list line exactly as recorded
};

enum class RunEventKind {
  kStart,
  kPause,
  kResume,
  kStop,
  kListCleared,  // detail: why; the next sample begins a new part
  kLineLost,
  kLineBack,  // the lost line's device came back and the run goes on
  kMeterSilent,
  kMeterHeardAgain,
  kSaved,         // detail: the file name
  kJournalError,  // detail: what failed
};

struct RunEvent {
  RunEventKind kind = RunEventKind::kStart;
  WallTime time;
  std::string detail;
};

// The events' names as they are stored and shown.
const char* RunEventName(RunEventKind kind);

class JournalSink {
 public:
  virtual ~JournalSink() = default;
  // A run begins; its kStart event follows through Event().
  virtual void BeginRun(const RunInfo& info, WallTime start) = 0;
  // Returns once the sample is as durable as the sink makes it.
  virtual void Record(const JournalSample& sample) = 0;
  virtual void Event(const RunEvent& event) = 0;
};

// The wall clock the view reads once per sample.
class WallClock {
 public:
  virtual ~WallClock() = default;
  virtual WallTime Now() = 0;
};

class SystemWallClock : public WallClock {
 public:
  WallTime Now() override;
};

}  // namespace ql
