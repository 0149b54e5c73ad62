#include "decode/lcd_decoder.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "base/frame_layout.h"

namespace ql {
namespace {

// Segment code -> character; codes that are not digits read as blanks.
constexpr std::array<char, 128> MakeDigitTable() {
  std::array<char, 128> table{};
  for (char& c : table) c = ' ';
  for (std::size_t d = 0; d < frame::kDigitCodes.size(); ++d) {
    table[frame::kDigitCodes[d]] = static_cast<char>('0' + d);
  }
  return table;
}
constexpr std::array<char, 128> kDigitTable = MakeDigitTable();

// The characters a display text may hold; anything else rejects the frame.
constexpr bool AllowedDisplayChar(char c) {
  return c == ' ' || c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 'H' ||
         c == 'I' || c == 'L' || c == 'M' || c == 'O';
}

class FrameBytes {
 public:
  explicit FrameBytes(std::string_view frame) : frame_(frame) {}
  std::uint8_t Low(std::size_t i) const {
    return static_cast<std::uint8_t>(frame_[i]) & frame::kLowNibble;
  }
  bool Lit(frame::Bit bit) const { return (Low(bit.byte) & bit.mask) != 0; }
  std::uint8_t SegmentCode(int digit) const {
    const std::size_t first = frame::DigitFirstByte(digit);
    return static_cast<std::uint8_t>(((Low(first) & frame::kFirstByteSegments) << 4) |
                                     Low(first + 1));
  }
  char DigitChar(int digit) const { return kDigitTable[SegmentCode(digit)]; }

 private:
  std::string_view frame_;
};

// Returns true iff every character of the display text is allowed.
bool DecodeDisplay(const FrameBytes& bytes, char (&display)[7]) {
  display[5] = ' ';
  display[6] = '\0';
  display[0] = bytes.Lit(frame::kMinus) ? '-' : ' ';
  display[1] = bytes.DigitChar(1);
  // A lit decimal point takes the digit's own position and moves this and
  // every later digit one place to the right.
  int shift = 0;
  for (int k = 2; k <= frame::kDigitCount; ++k) {
    if ((bytes.Low(frame::DigitFirstByte(k)) & frame::kPointBeforeDigit2.mask) != 0) {
      display[k] = '.';
      shift = 1;
    }
    display[k + shift] = bytes.DigitChar(k);
  }
  // The meter keeps its minus sign at the far left even when the leading
  // digits are dark ("-  5.0"); a text-to-number conversion stops at the
  // blank after the sign and would read 0. The sign therefore moves up to
  // the first lit character ("  -5.0"), so the text reads as the number.
  if (display[0] == '-' && display[1] == ' ') {
    int first = 2;
    while (first < 6 && display[first] == ' ') ++first;
    if (first < 6) {
      display[0] = ' ';
      display[first - 1] = '-';
    }
  }
  if (bytes.SegmentCode(2) == frame::kLetterO && bytes.SegmentCode(3) == frame::kLetterL) {
    std::memcpy(display, frame::kOverloadText, sizeof(frame::kOverloadText));
  }
  for (int i = 0; i < 6; ++i) {
    if (!AllowedDisplayChar(display[i])) return false;
  }
  return true;
}

// The unit from the prefix and unit annunciators; a later one overwrites an
// earlier one in the same position.
void DecodeUnit(const FrameBytes& bytes, char (&unit)[5]) {
  std::memcpy(unit, "    ", 5);
  if (bytes.Lit(frame::kKilo)) unit[0] = 'K';
  if (bytes.Lit(frame::kMega)) unit[0] = 'M';
  if (bytes.Lit(frame::kNano)) unit[2] = 'n';
  if (bytes.Lit(frame::kMicro)) unit[2] = 'u';
  if (bytes.Lit(frame::kMilli)) unit[2] = 'm';
  if (bytes.Lit(frame::kDuty)) unit[3] = '%';
  if (bytes.Lit(frame::kFarad)) unit[3] = 'F';
  if (bytes.Lit(frame::kOhm)) std::memcpy(unit + 1, "Ohm", 3);
  if (bytes.Lit(frame::kAmpere)) unit[3] = 'A';
  if (bytes.Lit(frame::kVolt)) unit[3] = 'V';
  if (bytes.Lit(frame::kHertz)) std::memcpy(unit + 2, "Hz", 2);
}

bool NoUnitAnnunciator(const FrameBytes& bytes) {
  for (std::size_t i = frame::kAnnunciatorFirstByte; i <= frame::kAnnunciatorLastByte; ++i) {
    if (bytes.Low(i) != 0) return false;
  }
  return true;
}

// The function code from the function annunciators, in rising precedence.
// The function's own unit wins over the unit annunciators, so each function
// rewrites its part of the unit. Without any function annunciator the code
// stays as it was.
void DecodeFunction(const FrameBytes& bytes, const std::function<bool()>& carrierDetect,
                    char (&unit)[5], char (&code)[4]) {
  auto setCode = [&code](const char* two) {
    code[0] = two[0];
    code[1] = two[1];
  };
  if (bytes.Lit(frame::kAc)) setCode("AC");
  if (bytes.Lit(frame::kDc)) setCode("DC");
  if (bytes.Lit(frame::kDuty)) {
    unit[3] = '%';
    setCode("DU");
  }
  if (bytes.Lit(frame::kFarad)) {
    unit[3] = 'F';
    setCode("CA");
  }
  if (bytes.Lit(frame::kOhm)) {
    std::memcpy(unit + 1, "Ohm", 3);
    setCode("OH");
  }
  if (bytes.Lit(frame::kHertz)) {
    std::memcpy(unit + 2, "Hz", 2);
    setCode("FR");
  }
  if (NoUnitAnnunciator(bytes)) {
    // The frame has no bit for the temperature scale; the meter tells it on
    // the carrier-detect line.
    const bool fahrenheit = carrierDetect && carrierDetect();
    unit[1] = ' ';
    unit[2] = ' ';
    unit[3] = fahrenheit ? 'F' : 'C';
    setCode("TE");
  }
  if (bytes.Lit(frame::kDiode)) setCode("DI");
  if (bytes.Lit(frame::kContinuity)) setCode("CO");
}

}  // namespace

bool DecodeLcdFrame(std::string_view frame, const std::function<bool()>& carrierDetect,
                    LcdTexts& texts) {
  if (frame.size() < frame::kFrameSize) return false;
  const FrameBytes bytes(frame);
  LcdTexts decoded = texts;  // keeps the function code of the frame before
  if (!DecodeDisplay(bytes, decoded.display)) return false;
  DecodeUnit(bytes, decoded.unit);
  DecodeFunction(bytes, carrierDetect, decoded.unit, decoded.code);
  texts = decoded;
  return true;
}

}  // namespace ql
