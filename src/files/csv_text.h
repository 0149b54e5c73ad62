#pragma once
// CSV as spreadsheets open it: RFC 4180 rows ending in CRLF, a field quoted
// when it holds a quote, a line break or the field separator, quotes doubled;
// UTF-8, behind a byte order mark when asked. Numbers are written with '.'
// and ',' between fields, or with a locale's decimal separator and ';'
// between fields, so that a spreadsheet set to either kind of locale reads
// them as numbers.

#include <string>
#include <string_view>

namespace ql {

struct CsvChoices {
  bool bom = false;                 // start with the UTF-8 byte order mark
  std::string decimal_point = ".";  // UTF-8, as numbers are written
  char separator = ',';             // between fields
};

// The choices of a locale whose decimal separator is `decimal_point`
// (UTF-8): that separator in numbers and ';' between fields.
CsvChoices LocaleCsvChoices(std::string decimal_point, bool bom);

// Appends rows to `out`: fields one after the other, each row ended by
// EndRow(). The byte order mark, when chosen, is written at construction.
class CsvRows {
 public:
  CsvRows(std::string& out, const CsvChoices& choices);
  CsvRows(const CsvRows&) = delete;
  CsvRows& operator=(const CsvRows&) = delete;

  // A text field, UTF-8.
  void Text(std::string_view utf8);
  // A number as "%.15g" writes it, with the chosen decimal point.
  void Number(double value);
  // A number already written out with '.' (a display text), with the
  // chosen decimal point; a text that is no number is written as it is.
  void NumberText(std::string_view text);
  // A field the caller knows needs no quotes and holds no '.' to convert:
  // a header name, or a text Quoted() made.
  void Plain(std::string_view text);
  void EndRow();

  // `utf8` as Text() writes it, for a field written many times.
  std::string Quoted(std::string_view utf8) const;

 private:
  void Separate();
  // `number` (written with '.') as a field with the chosen decimal point.
  void WithDecimalPoint(std::string_view number);

  std::string& out_;
  const CsvChoices& choices_;
  bool first_ = true;
  bool plain_point_;    // the decimal point is '.': numbers go out as written
  bool quote_numbers_;  // the decimal point holds a character that needs quotes
};

}  // namespace ql
