#pragma once
// The wire layout of the meter's 14-byte display frame: which bit of which
// byte lights which segment or annunciator of the LCD. Bytes are numbered
// 0 to 13 in order of arrival. The high nibbles of the last three bytes
// mark the end of a frame; all display data is in the low nibbles.
//
// Shared by the frame reader, the decoder and the meter simulator (header
// only, below all three). docs/frame.md has the same layout as a table.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ql::frame {

inline constexpr std::size_t kFrameSize = 14;

// End-of-frame marker: the high nibbles of bytes 11, 12 and 13.
inline constexpr std::uint8_t kMarkerHighC = 0xC0;  // byte 11
inline constexpr std::uint8_t kMarkerHighD = 0xD0;  // byte 12
inline constexpr std::uint8_t kMarkerHighE = 0xE0;  // byte 13
inline constexpr std::uint8_t kHighNibble = 0xF0;
inline constexpr std::uint8_t kLowNibble = 0x0F;

// One lit element: a byte of the frame and the bit mask within its low nibble.
struct Bit {
  std::size_t byte;
  std::uint8_t mask;
};

// Byte 0: the two function annunciators of the upper left corner
// (bits 1 and 0 are not used).
inline constexpr Bit kAc{0, 0x08};  // alternating
inline constexpr Bit kDc{0, 0x04};  // direct

// Bytes 1 to 8: the four digits, two bytes each. Digit k (1 = leftmost)
// is bytes 2k-1 and 2k. Bit 3 of the first byte is the minus sign for
// digit 1 and the decimal point just before the digit for digits 2 to 4.
inline constexpr Bit kMinus{1, 0x08};              // minus sign
inline constexpr Bit kPointBeforeDigit2{3, 0x08};  // d1 . d2 d3 d4
inline constexpr Bit kPointBeforeDigit3{5, 0x08};  // d1 d2 . d3 d4
inline constexpr Bit kPointBeforeDigit4{7, 0x08};  // d1 d2 d3 . d4
inline constexpr int kDigitCount = 4;

// Index of the first of the two bytes of digit k (1 .. 4).
constexpr std::size_t DigitFirstByte(int k) { return static_cast<std::size_t>(2 * k - 1); }

// The segment code of a digit is ((first byte & 7) << 4) | (second byte & 0xF):
// the first byte carries e, f, a in bits 2, 1, 0; the second d, c, g, b in
// bits 3, 2, 1, 0. Segments: a top, b upper right, c lower right, d bottom,
// e lower left, f upper left, g middle.
inline constexpr std::uint8_t kSegE = 0x40;  // first byte bit 2
inline constexpr std::uint8_t kSegF = 0x20;  // first byte bit 1
inline constexpr std::uint8_t kSegA = 0x10;  // first byte bit 0
inline constexpr std::uint8_t kSegD = 0x08;  // second byte bit 3
inline constexpr std::uint8_t kSegC = 0x04;  // second byte bit 2
inline constexpr std::uint8_t kSegG = 0x02;  // second byte bit 1
inline constexpr std::uint8_t kSegB = 0x01;  // second byte bit 0
inline constexpr std::uint8_t kFirstByteSegments = 0x07;

// Segment codes of the digits '0' to '9'. Every other code reads as a blank.
inline constexpr std::array<std::uint8_t, 10> kDigitCodes = {
    0x7D,  // '0': a b c d e f
    0x05,  // '1': b c
    0x5B,  // '2': a b d e g
    0x1F,  // '3': a b c d g
    0x27,  // '4': b c f g
    0x3E,  // '5': a c d f g
    0x7E,  // '6': a c d e f g
    0x15,  // '7': a b c
    0x7F,  // '8': all seven
    0x3F,  // '9': a b c d f g
};

// Overload: digit 2 shows the letter O and digit 3 the letter L.
inline constexpr std::uint8_t kLetterO = 0x7D;     // a b c d e f, the same as '0'
inline constexpr std::uint8_t kLetterL = 0x68;     // d e f
inline constexpr char kOverloadText[] = " 40000";  // above every range limit

// Byte 9: prefixes and the diode symbol.
inline constexpr Bit kMicro{9, 0x08};  // u
inline constexpr Bit kNano{9, 0x04};   // n
inline constexpr Bit kKilo{9, 0x02};   // K
inline constexpr Bit kDiode{9, 0x01};  // diode test

// Byte 10: prefixes, duty cycle and continuity.
inline constexpr Bit kMilli{10, 0x08};       // m
inline constexpr Bit kDuty{10, 0x04};        // %
inline constexpr Bit kMega{10, 0x02};        // M
inline constexpr Bit kContinuity{10, 0x01};  // continuity beeper

// Byte 11: units (bits 1 and 0 are not used); high nibble 0xC.
inline constexpr Bit kFarad{11, 0x08};  // F
inline constexpr Bit kOhm{11, 0x04};    // Ohm

// Byte 12: units (bit 0 is not used); high nibble 0xD.
inline constexpr Bit kAmpere{12, 0x08};  // A
inline constexpr Bit kVolt{12, 0x04};    // V
inline constexpr Bit kHertz{12, 0x02};   // Hz

// Byte 13: nothing but the marker; high nibble 0xE.

// Bytes 9 to 12 hold every unit, prefix, diode and continuity annunciator.
// When all their low nibbles are 0 the meter is measuring temperature; the
// carrier-detect line of the port then tells Fahrenheit (on) from Celsius.
inline constexpr std::size_t kAnnunciatorFirstByte = 9;
inline constexpr std::size_t kAnnunciatorLastByte = 12;

}  // namespace ql::frame
