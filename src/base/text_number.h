#pragma once
// The standard text-to-number conversion as the readings use it, but
// independent of the C library's locale (the desktop face runs with the
// user's locale, where the decimal separator may be a comma).
//
// Leading blanks are skipped, then an optional sign, digits, an optional
// '.' with digits and an optional exponent are read; conversion stops at the
// first character that cannot continue the number. A text without a number
// (" OVER ", blanks) gives 0. Unlike atof, "inf", "nan" and hexadecimal
// forms are not numbers here, and a number out of the range of a double
// gives 0, so the result is always finite.

#include <cctype>
#include <charconv>
#include <cstddef>
#include <string_view>

namespace ql {

inline double TextToNumber(std::string_view text) {
  auto digit = [&](std::size_t k) {
    return k < text.size() && std::isdigit(static_cast<unsigned char>(text[k]));
  };
  std::size_t begin = 0;
  while (begin < text.size() && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  std::size_t end = begin;
  bool negative = false;
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) negative = text[end++] == '-';
  std::size_t mantissa = end;
  while (digit(end)) ++end;
  std::size_t intDigits = end - mantissa;
  if (end < text.size() && text[end] == '.' && (intDigits > 0 || digit(end + 1))) {
    ++end;
    while (digit(end)) ++end;
  }
  if (end == mantissa) return 0.0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exp = end + 1;
    if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) ++exp;
    if (digit(exp)) {
      while (digit(exp)) ++exp;
      end = exp;
    }
  }
  double value = 0.0;
  auto result = std::from_chars(text.data() + mantissa, text.data() + end, value);
  if (result.ec != std::errc()) return 0.0;
  return negative ? -value : value;
}

}  // namespace ql
