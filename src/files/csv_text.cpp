#include "files/csv_text.h"

#include <charconv>
#include <utility>

namespace ql {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// Returns true iff `text` is a decimal number: an optional sign, digits and
// at most one '.', with a digit somewhere.
bool IsDecimalNumber(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  bool digit = false;
  bool point = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

}  // namespace

CsvChoices LocaleCsvChoices(std::string decimal_point, bool bom) {
  CsvChoices choices;
  choices.bom = bom;
  choices.decimal_point = decimal_point.empty() ? "." : std::move(decimal_point);
  choices.separator = ';';
  return choices;
}

CsvRows::CsvRows(std::string& out, const CsvChoices& choices)
    : out_(out), choices_(choices), plain_point_(choices.decimal_point == ".") {
  if (choices_.bom) out_ += kBom;
}

void CsvRows::Separate() {
  if (!first_) out_.push_back(choices_.separator);
  first_ = false;
}

void CsvRows::Text(std::string_view utf8) {
  Separate();
  const char special[] = {'"', '\r', '\n', choices_.separator};
  if (utf8.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
    out_ += utf8;
    return;
  }
  out_.push_back('"');
  for (char c : utf8) {
    if (c == '"') out_.push_back('"');
    out_.push_back(c);
  }
  out_.push_back('"');
}

void CsvRows::Number(double value) {
  char text[40];
  const auto end =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15).ptr;
  WithDecimalPoint(std::string_view(text, static_cast<std::size_t>(end - text)));
}

void CsvRows::NumberText(std::string_view text) {
  if (IsDecimalNumber(text)) {
    WithDecimalPoint(text);
  } else {
    Text(text);
  }
}

void CsvRows::WithDecimalPoint(std::string_view number) {
  const std::size_t point = number.find('.');
  if (plain_point_ || point == std::string_view::npos) {
    Text(number);
    return;
  }
  std::string converted(number.substr(0, point));
  converted += choices_.decimal_point;
  converted += number.substr(point + 1);
  Text(converted);
}

void CsvRows::Plain(std::string_view text) {
  Separate();
  out_ += text;
}

void CsvRows::EndRow() {
  out_ += "\r\n";
  first_ = true;
}

}  // namespace ql
