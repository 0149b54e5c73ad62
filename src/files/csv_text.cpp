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

bool NeedsQuotes(std::string_view text, char separator) {
  for (char c : text) {
    if (c == '"' || c == '\r' || c == '\n' || c == separator) return true;
  }
  return false;
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
    : out_(out),
      choices_(choices),
      plain_point_(choices.decimal_point == "."),
      quote_numbers_(NeedsQuotes(choices.decimal_point, choices.separator)) {
  if (choices_.bom) out_ += kBom;
}

void CsvRows::Separate() {
  if (!first_) out_.push_back(choices_.separator);
  first_ = false;
}

std::string CsvRows::Quoted(std::string_view utf8) const {
  if (!NeedsQuotes(utf8, choices_.separator)) return std::string(utf8);
  std::string quoted = "\"";
  for (char c : utf8) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

void CsvRows::Text(std::string_view utf8) {
  Separate();
  if (NeedsQuotes(utf8, choices_.separator)) {
    out_ += Quoted(utf8);
  } else {
    out_ += utf8;
  }
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
  const std::size_t point = plain_point_ ? std::string_view::npos : number.find('.');
  if (point == std::string_view::npos) {
    Plain(number);
    return;
  }
  std::string converted(number.substr(0, point));
  converted += choices_.decimal_point;
  converted += number.substr(point + 1);
  if (quote_numbers_) {
    Text(converted);
  } else {
    Plain(converted);
  }
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
