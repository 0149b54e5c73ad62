#include "files/list_csv.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "base/latin1.h"
#include "base/list_line.h"

namespace ql {

namespace {

constexpr int kSecondsPerDay = 86'400;

std::string_view Trim(std::string_view text) {
  const auto begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// Seconds since midnight of a time "H:MM:SS" or "HH:MM:SS".
std::optional<int> SecondsOfDay(std::string_view time) {
  int parts[3] = {};
  std::size_t part = 0;
  std::size_t digits = 0;
  for (char c : time) {
    if (c == ':' && digits > 0 && part < 2) {
      ++part;
      digits = 0;
    } else if (c >= '0' && c <= '9' && digits < 2) {
      parts[part] = parts[part] * 10 + (c - '0');
      ++digits;
    } else {
      return std::nullopt;
    }
  }
  if (part != 2 || digits != 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 60)
    return std::nullopt;
  return (parts[0] * 60 + parts[1]) * 60 + parts[2];
}

// Seconds from the first readable time, across midnights.
class ElapsedSeconds {
 public:
  std::optional<int> Next(std::string_view time) {
    const std::optional<int> now = SecondsOfDay(time);
    if (!now) return std::nullopt;
    if (!first_) first_ = last_ = *now;
    if (*now < last_) day_ += kSecondsPerDay;
    last_ = *now;
    return day_ + *now - *first_;
  }

 private:
  std::optional<int> first_;
  int last_ = 0;
  int day_ = 0;
};

}  // namespace

std::string ListCsv(const LineSource& lines, const CsvChoices& choices) {
  std::string csv;
  CsvRows rows(csv, choices);
  for (const char* name : {"time", "seconds", "value", "over", "unit", "function"})
    rows.Plain(name);
  rows.EndRow();
  ElapsedSeconds elapsed;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string text = lines.Line(i);
    std::string_view line = text;
    // A line read from a reading file keeps its line feed.
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    const std::string_view time = Trim(list_line::Text(line, list_line::kTime));
    const std::string_view value = Trim(list_line::Text(line, list_line::kValue));
    const bool over = value == "OVER";
    rows.Text(Latin1ToUtf8(time));
    if (const std::optional<int> seconds = elapsed.Next(time)) {
      rows.Plain(std::to_string(*seconds));
    } else {
      rows.Plain({});
    }
    if (over) {
      rows.Plain({});
    } else {
      rows.NumberText(Latin1ToUtf8(value));
    }
    rows.Plain(over ? "yes" : "no");
    rows.Text(Latin1ToUtf8(Trim(list_line::Text(line, list_line::kUnit))));
    // The name runs to the end of the line: a line from a file may be longer.
    rows.Text(Latin1ToUtf8(Trim(line.substr(std::min(list_line::kName.first, line.size())))));
    rows.EndRow();
  }
  return csv;
}

}  // namespace ql
