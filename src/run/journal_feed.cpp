// What the view tells its journal: each recorded sample with its wall time,
// and the run's events. The list's own behaviour does not depend on it.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "run/ids.h"
#include "run/qarn_view.h"

namespace ql {

namespace {

constexpr char kClassFrequency = 'U';
constexpr char kClassHighFrequency = 'V';

std::string Trimmed(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  return std::string(text.substr(begin, text.find_last_not_of(' ') - begin + 1));
}

// The range as its full-scale reading: the decimals and the class decide it.
std::string RangeText(char classLetter, int decimals) {
  static constexpr const char* kCount[] = {"3999", "399.9", "39.99", "3.999"};
  static constexpr const char* kFrequency[] = {"5000", "500.0", "50.00", "5.000"};
  if (decimals < 0 || decimals > 3) return std::to_string(decimals) + " decimals";
  const bool frequency = classLetter == kClassFrequency || classLetter == kClassHighFrequency;
  return (frequency ? kFrequency : kCount)[decimals];
}

// The reading as the display showed it: the decoder holds it in single
// precision, so it is rounded back to the display's decimals (1.234, not
// 1.23399996757507).
double DisplayedValue(const Reading& reading) {
  const auto value = static_cast<double>(reading.value);
  if (reading.decimals < 0 || reading.decimals > 3) return value;
  const double scale = std::pow(10.0, reading.decimals);
  return std::round(value * scale) / scale;
}

}  // namespace

void CQarnView::JournalBeginRun() {
  m_bJournalPartOpen = 0;
  if (!m_journal.sink || !m_journal.clock) return;
  m_runStartTime = m_journal.clock->Now();
  RunInfo info;
  info.program_version = m_journal.programVersion;
  info.face = m_journal.face;
  info.device_path = m_journal.devicePath ? m_journal.devicePath() : std::string();
  info.port_name = m_link.DeviceName();
  info.sampling_ms = static_cast<long long>(m_rsCom.m_nSampling) * kViewTimerMs;
  info.db_reference = m_nDbRefOhm;
  m_journal.sink->BeginRun(info, m_runStartTime);
  m_journal.sink->Event(RunEvent{RunEventKind::kStart, m_runStartTime, {}});
}

void CQarnView::JournalRecord(const Reading& reading, const char* line) {
  if (!m_journal.sink || !m_journal.clock) return;
  JournalSample sample;
  sample.time = m_journal.clock->Now();
  sample.seconds_since_start =
      static_cast<double>(sample.time.utc_us - m_runStartTime.utc_us) / 1e6;
  sample.over_range = ListOverRange(m_lcd.display, reading.classLetter, reading.decimals);
  if (!sample.over_range) sample.value = DisplayedValue(reading);
  sample.display_text = m_lcd.display;
  sample.function = Trimmed(reading.label);
  // The unit as the list line writes it, with the micro sign.
  sample.unit = Trimmed(std::string_view(m_lcd.unit, strnlen(m_lcd.unit, sizeof m_lcd.unit)));
  std::replace(sample.unit.begin(), sample.unit.end(), 'u', kMicroSign);
  sample.range = RangeText(reading.classLetter, reading.decimals);
  sample.label = sample.function;
  sample.list_line = line;
  m_journal.sink->Record(sample);
  m_bJournalPartOpen = 1;
}

void CQarnView::JournalEvent(RunEventKind kind, std::string detail) {
  if (!m_journal.sink || !m_journal.clock) return;
  m_journal.sink->Event(RunEvent{kind, m_journal.clock->Now(), std::move(detail)});
}

void CQarnView::JournalListCleared(const char* why) {
  // Only a list that holds lines of this run ends a part; a clearing on
  // every tick without a function would otherwise flood the journal.
  if (!m_bJournalPartOpen) return;
  m_bJournalPartOpen = 0;
  JournalEvent(RunEventKind::kListCleared, why);
}

}  // namespace ql
