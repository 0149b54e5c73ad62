#pragma once
// Display frames made by hand for the tests of the measuring window: the
// 14 bytes the meter sends for a display text and a set of annunciators.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/frame_layout.h"

namespace ql::test_support {

namespace frame_detail {

inline void SetDigit(std::array<std::uint8_t, 14>& bytes, int k, std::uint8_t code) {
  const std::size_t first = frame::DigitFirstByte(k);
  bytes[first] |= static_cast<std::uint8_t>((code >> 4) & frame::kFirstByteSegments);
  bytes[first + 1] |= static_cast<std::uint8_t>(code & frame::kLowNibble);
}

inline std::string ToText(const std::array<std::uint8_t, 14>& bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Every byte gets a high nibble of its position + 1, so bytes 11 to 13 carry
// the end-of-frame marker 0xC, 0xD, 0xE.
inline std::array<std::uint8_t, 14> Blank() {
  std::array<std::uint8_t, 14> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((i + 1) << 4);
  return bytes;
}

}  // namespace frame_detail

// The frame whose display reads `display` (6 characters as the decoder
// writes them: sign, four digits or blanks and at most one '.', e.g.
// " 1.234", "-12.34", " 0123 ") with the annunciators `lit` on.
inline std::string MeterFrame(std::string_view display, std::initializer_list<frame::Bit> lit) {
  std::array<std::uint8_t, 14> bytes = frame_detail::Blank();
  if (!display.empty() && display[0] == '-') bytes[frame::kMinus.byte] |= frame::kMinus.mask;
  int digit = 1;
  for (char c : display.substr(1)) {
    if (c == '.') {
      const frame::Bit point = digit == 2   ? frame::kPointBeforeDigit2
                               : digit == 3 ? frame::kPointBeforeDigit3
                                            : frame::kPointBeforeDigit4;
      bytes[point.byte] |= point.mask;
      continue;
    }
    if (digit > frame::kDigitCount) break;
    if (c >= '0' && c <= '9') {
      frame_detail::SetDigit(bytes, digit, frame::kDigitCodes[static_cast<std::size_t>(c - '0')]);
    }
    ++digit;
  }
  for (const frame::Bit& bit : lit) bytes[bit.byte] |= bit.mask;
  return frame_detail::ToText(bytes);
}

// The frame of the overload display "OL" with the annunciators `lit` on.
inline std::string OverloadFrame(std::initializer_list<frame::Bit> lit) {
  std::array<std::uint8_t, 14> bytes = frame_detail::Blank();
  frame_detail::SetDigit(bytes, 2, frame::kLetterO);
  frame_detail::SetDigit(bytes, 3, frame::kLetterL);
  for (const frame::Bit& bit : lit) bytes[bit.byte] |= bit.mask;
  return frame_detail::ToText(bytes);
}

// Common readings.
inline std::string DcVolts(std::string_view display) {
  return MeterFrame(display, {frame::kDc, frame::kVolt});
}
inline std::string AcVolts(std::string_view display) {
  return MeterFrame(display, {frame::kAc, frame::kVolt});
}

}  // namespace ql::test_support
