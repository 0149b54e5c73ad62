// The list of readings and the averaging window: the fixed layout of a list
// line, when lines are appended and when the list starts afresh.

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "base/list_line.h"
#include "run/qarn_view.h"

namespace ql {

namespace {

// Copies `text` into `field` of `line`, padded with blanks or cut, so every
// column of the line stays where readers expect it.
void PutField(char* line, const list_line::Field& field, std::string_view text) {
  const std::size_t n = std::min(text.size(), field.width);
  std::memcpy(line + field.first, text.data(), n);
  std::memset(line + field.first + n, ' ', field.width - n);
}

// The same for a NUL-terminated text, of which at most the field's width is read.
void PutText(char* line, const list_line::Field& field, const char* text) {
  PutField(line, field, std::string_view(text, strnlen(text, field.width)));
}

}  // namespace

void CQarnView::BuildListLine(const Reading& reading, char (&line)[kLineLength + 1]) {
  using namespace list_line;
  const std::string time = m_clock.LocalTimeText();
  const bool over = ListOverRange(m_lcd.display, reading.classLetter, reading.decimals);
  std::memset(line, ' ', kLength);  // the blank fields between the others
  PutField(line, kTime, time);
  PutText(line, kPrefix, m_szPrefix);
  PutText(line, kValue, over ? " OVER " : m_lcd.display);
  PutText(line, kUnit, m_lcd.unit);
  PutText(line, kField6, m_szField6);
  PutText(line, kField4, m_szField4);
  PutText(line, kName, reading.label);
  line[kLength] = '\0';
  std::replace(line, line + kLength, 'u', kMicroSign);
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
  if (m_list.Count() == 1) {
    m_fPeakMax = m_fPeakMin = m_fValue;
    m_fMinMaxMax = m_fMinMaxMin = m_fValue;
    m_dWindowSum = 0.0;
    m_fWindowCount = 0.0f;
  }

  // Into the journal first: a line anyone has seen is never missing there,
  // whenever the program is killed.
  JournalRecord(reading, line);
  m_list.Add(line);
  m_host.list.ListAdd(line);
  m_host.list.ListSelect(m_list.Count() - 1);
  m_bNoDataShown = 0;

  AddWindowValue(m_fValue);
}

void CQarnView::AddWindowValue(float value) {
  m_fWindowCount += 1.0f;
  if (m_fWindowCount > static_cast<float>(kWindowSize)) {
    m_dWindowSum -= static_cast<double>(m_afWindow[0]);
    std::copy(m_afWindow.begin() + 1, m_afWindow.end(), m_afWindow.begin());
    m_fWindowCount = static_cast<float>(kWindowSize);
  }
  m_dWindowSum += static_cast<double>(value);
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
  m_list.Reset();
  m_host.list.ListReset();
  m_bNoDataShown = 0;
}

}  // namespace ql
