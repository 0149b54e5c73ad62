#pragma once
// Byte streams a meter on a misbehaving line produces, for the reliability
// tests: frames that can all be told apart, and line noise that never by
// itself spells the end marks of a frame, so every frame that arrives whole
// can be expected to be found.

#include "base/frame_layout.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace ql::test_support {

inline constexpr std::size_t kMeterFrameSize = frame::kFrameSize;

// Frame number `n`: high nibbles 0x1 .. 0xE as the meter sends them, the low
// nibbles of bytes 0 .. 7 the eight hex digits of `n`.
inline std::string NumberedFrame(std::uint32_t n) {
  std::string frame;
  for (unsigned i = 0; i < kMeterFrameSize; ++i) {
    const unsigned low = i < 8 ? (n >> (4 * i)) & 0xF : 0;
    frame.push_back(static_cast<char>(((i + 1) << 4) | low));
  }
  return frame;
}

// Appends one random noise byte to `stream`, never one that would complete
// the high-nibble sequence C, D, E with the two bytes before it.
inline void AppendNoiseByte(std::string& stream, std::mt19937& random) {
  auto high = [](char byte) { return static_cast<std::uint8_t>(byte) >> 4; };
  const bool afterCD =
      stream.size() >= 2 && high(stream[stream.size() - 2]) == 0xC && high(stream.back()) == 0xD;
  std::uint8_t byte = 0;
  do {
    byte = static_cast<std::uint8_t>(random());
  } while (afterCD && (byte >> 4) == 0xE);
  stream.push_back(static_cast<char>(byte));
}

}  // namespace ql::test_support
