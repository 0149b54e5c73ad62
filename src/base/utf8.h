#pragma once
// Whether a text from outside (a file name, a user's text) is UTF-8 or must
// be taken as Latin-1 (latin1.h).

#include <cstddef>
#include <string_view>

namespace ql {

// Returns true iff `text` is well-formed UTF-8: no overlong forms (lead
// bytes 0xC0, 0xC1, or 0xE0 / 0xF0 followed by too small a byte), no
// surrogates (0xED 0xA0 ..) and nothing above U+10FFFF (0xF4 0x90 .., 0xF5 ..).
constexpr bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    unsigned char low = 0x80;  // range of the byte after the lead
    unsigned char high = 0xBF;
    if (lead < 0x80) {
      extra = 0;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (text.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (k == 1 ? (next < low || next > high) : (next & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

// True for the second and later bytes of a UTF-8 character.
constexpr bool IsUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace ql
