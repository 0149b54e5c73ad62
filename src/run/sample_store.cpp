// The list of readings and the averaging window: the fixed layout of a list
// line, when lines are appended and when the list starts afresh.

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "run/qarn_view.h"

namespace ql {

namespace {

// Copies `text` into exactly `width` characters at `out`, padded with
// blanks or cut, so every column of the line stays where readers expect it.
char* PutField(char* out, std::string_view text, std::size_t width) {
  const std::size_t n = std::min(text.size(), width);
  std::memcpy(out, text.data(), n);
  std::memset(out + n, ' ', width - n);
  return out + width;
}

std::string_view Field(const char* text, std::size_t width) {
  return std::string_view(text, strnlen(text, width));
}

}  // namespace

void CQarnView::BuildListLine(const Reading& reading, char (&line)[kLineLength + 1]) {
  const std::string time = m_clock.LocalTimeText();
  const bool over = ListOverRange(m_lcd.display, reading.classLetter, reading.decimals);
  char* out = line;
  out = PutField(out, " ", 1);
  out = PutField(out, time, 8);
  out = PutField(out, "  ", 2);
  out = PutField(out, Field(m_szPrefix, 3), 3);
  out = PutField(out, " ", 1);
  out = PutField(out, over ? std::string_view(" OVER ") : Field(m_lcd.display, 6), 6);
  out = PutField(out, Field(m_lcd.unit, 4), 4);
  out = PutField(out, " ", 1);
  out = PutField(out, "   ", 3);  // the spare 3-character field, blank
  out = PutField(out, " ", 1);
  out = PutField(out, Field(m_szField6, 6), 6);
  out = PutField(out, Field(m_szField4, 4), 4);
  out = PutField(out, " ", 1);
  out = PutField(out, Field(reading.label, 20), 20);
  *out = '\0';
  std::replace(line, line + kLineLength, 'u', kMicroSign);
}

void CQarnView::RecordSample(const Reading& reading, const char* line) {
  // A list holds the lines of one function, one unit and one range only.
  if (reading.decimals != m_nListDecimals || reading.classLetter != m_chListClass ||
      std::memcmp(m_lcd.unit, m_szListUnit, 4) != 0) {
    ClearList("function, unit or range changed");
    m_chListClass = reading.classLetter;
    std::memcpy(m_szListUnit, m_lcd.unit, 4);
    m_szListUnit[4] = '\0';
    m_nListDecimals = reading.decimals;
    // A new list starts its first period with its first line.
    m_link.RestartPeriod();
  }
  m_link.TakeSample();

  // The first line of a list counts in no statistic: they start at the second.
  if (m_host.ListCount() == 1) {
    m_fPeakMax = m_fPeakMin = m_fValue;
    m_fMinMaxMax = m_fMinMaxMin = m_fValue;
    m_dWindowSum = 0.0;
    m_fWindowCount = 0.0f;
  }

  m_host.ListAdd(line);
  m_host.ListSelect(m_host.ListCount() - 1);
  m_bNoDataShown = 0;
  JournalRecord(reading, line);

  AddWindowValue(m_fValue);
}

void CQarnView::AddWindowValue(float value) {
  m_fWindowCount += 1.0f;
  if (m_fWindowCount > static_cast<float>(kWindowSize)) {
    m_dWindowSum -= m_afWindow[0];
    std::copy(m_afWindow.begin() + 1, m_afWindow.end(), m_afWindow.begin());
    m_fWindowCount = static_cast<float>(kWindowSize);
  }
  m_dWindowSum += value;
  m_afWindow[static_cast<std::size_t>(m_fWindowCount) - 1] = value;
}

void CQarnView::ClearForNoClass() {
  ClearList("no function");
  m_chListClass = 0;
  std::memcpy(m_szListUnit, "    ", 5);
  m_nListDecimals = 0;
}

void CQarnView::ClearList(const char* why) {
  if (m_bRunning) JournalListCleared(why);
  m_host.ListReset();
  m_bNoDataShown = 0;
}

}  // namespace ql
