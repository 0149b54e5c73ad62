#pragma once
// Builds display frames bit by bit for the decoder tests: every byte starts
// with the high nibble a meter sends (0x1 .. 0xE) and an empty low nibble.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/frame_layout.h"

namespace ql::test_support {

inline std::string BlankFrame() {
  std::string frame(frame::kFrameSize, '\0');
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<char>((i + 1) << 4);
  return frame;
}

inline void Light(std::string& frame, frame::Bit bit) {
  frame[bit.byte] = static_cast<char>(static_cast<std::uint8_t>(frame[bit.byte]) | bit.mask);
}

inline void SetSegments(std::string& frame, int digit, std::uint8_t code) {
  const std::size_t first = frame::DigitFirstByte(digit);
  frame[first] = static_cast<char>(static_cast<std::uint8_t>(frame[first]) | (code >> 4));
  frame[first + 1] =
      static_cast<char>(static_cast<std::uint8_t>(frame[first + 1]) | (code & frame::kLowNibble));
}

// `digits` holds four characters: '0'..'9', ' ' (dark), 'O' or 'L'.
// `pointBefore` is the digit (2 .. 4) the decimal point precedes, 0 for none.
inline std::string FrameOf(std::string_view digits, int pointBefore, bool minus,
                           std::initializer_list<frame::Bit> annunciators) {
  std::string frame = BlankFrame();
  for (int k = 1; k <= frame::kDigitCount; ++k) {
    const char c = digits[static_cast<std::size_t>(k - 1)];
    std::uint8_t code = 0;
    if (c >= '0' && c <= '9') code = frame::kDigitCodes[static_cast<std::size_t>(c - '0')];
    if (c == 'O') code = frame::kLetterO;
    if (c == 'L') code = frame::kLetterL;
    SetSegments(frame, k, code);
  }
  if (pointBefore == 2) Light(frame, frame::kPointBeforeDigit2);
  if (pointBefore == 3) Light(frame, frame::kPointBeforeDigit3);
  if (pointBefore == 4) Light(frame, frame::kPointBeforeDigit4);
  if (minus) Light(frame, frame::kMinus);
  for (frame::Bit bit : annunciators) Light(frame, bit);
  return frame;
}

}  // namespace ql::test_support
