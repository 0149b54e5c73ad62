#include "sim/meter_words.h"

#include <array>
#include <cstdint>
#include <vector>

#include "base/frame_layout.h"

namespace ql {
namespace {

// What each function accepts after the number.
struct FunctionDesc {
  const char* name;
  MeterFunction function;
  std::array<BaseUnit, 2> bases;  // the second equals the first when there is one
  const char* prefixes;           // allowed prefix letters besides none
  const char* units;              // for the error message
};

constexpr std::array<FunctionDesc, 9> kFunctions = {{
    {"DC",
     MeterFunction::kDc,
     {BaseUnit::kVolt, BaseUnit::kAmpere},
     "num",
     "V, mV, uV, nV, A, mA, uA or nA"},
    {"AC",
     MeterFunction::kAc,
     {BaseUnit::kVolt, BaseUnit::kAmpere},
     "num",
     "V, mV, uV, nV, A, mA, uA or nA"},
    {"OHM", MeterFunction::kOhm, {BaseUnit::kOhm, BaseUnit::kOhm}, "kM", "Ohm, kOhm or MOhm"},
    {"CONT", MeterFunction::kContinuity, {BaseUnit::kOhm, BaseUnit::kOhm}, "", "Ohm"},
    {"DIODE", MeterFunction::kDiode, {BaseUnit::kVolt, BaseUnit::kVolt}, "", "V"},
    {"FREQ",
     MeterFunction::kFrequency,
     {BaseUnit::kHertz, BaseUnit::kHertz},
     "kM",
     "Hz, kHz or MHz"},
    {"CAP",
     MeterFunction::kCapacitance,
     {BaseUnit::kFarad, BaseUnit::kFarad},
     "num",
     "F, mF, uF or nF"},
    {"DUTY", MeterFunction::kDuty, {BaseUnit::kPercent, BaseUnit::kPercent}, "", "%"},
    {"TEMP",
     MeterFunction::kTemperature,
     {BaseUnit::kCelsius, BaseUnit::kFahrenheit},
     "",
     "C or F"},
}};

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t begin = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > begin) words.push_back(text.substr(begin, i - begin));
  }
  return words;
}

std::string Quoted(std::string_view word) { return "\"" + std::string(word) + "\""; }

Status ParseNumber(std::string_view word, MeterReading& out) {
  std::size_t i = 0;
  if (i < word.size() && (word[i] == '-' || word[i] == '+')) out.negative = word[i++] == '-';
  int digits = 0;
  int before = 0;
  bool point = false;
  int counts = 0;
  for (; i < word.size(); ++i) {
    const char c = word[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return Status::Invalid(Quoted(word) + " is not a number");
    if (++digits > frame::kDigitCount) {
      return Status::Invalid(Quoted(word) + " has more than four digits");
    }
    if (!point) ++before;
    counts = counts * 10 + (c - '0');
  }
  if (before == 0) return Status::Invalid(Quoted(word) + " needs a digit before the point");
  if (point && digits == before) {
    return Status::Invalid(Quoted(word) + " needs a digit after the point");
  }
  out.counts = counts;
  out.decimals = digits - before;
  out.shownDigits = digits;
  return Status::Ok();
}

// Splits a unit word into prefix and base. Returns false when it is neither
// a base nor a prefix followed by a base.
bool SplitUnit(std::string_view word, bool temperature, UnitPrefix& prefix, BaseUnit& base) {
  auto baseOf = [temperature](std::string_view w, BaseUnit& b) {
    if (w == "V")
      b = BaseUnit::kVolt;
    else if (w == "A")
      b = BaseUnit::kAmpere;
    else if (SameLetters(w, "Ohm"))
      b = BaseUnit::kOhm;
    else if (SameLetters(w, "Hz"))
      b = BaseUnit::kHertz;
    else if (w == "%")
      b = BaseUnit::kPercent;
    else if (w == "F")
      b = temperature ? BaseUnit::kFahrenheit : BaseUnit::kFarad;
    else if (w == "C" && temperature)
      b = BaseUnit::kCelsius;
    else
      return false;
    return true;
  };
  if (temperature) {
    // The degree sign, in UTF-8 or as the single Latin-1 byte.
    if (word.starts_with("\xC2\xB0"))
      word.remove_prefix(2);
    else if (word.starts_with("\xB0"))
      word.remove_prefix(1);
  }
  prefix = UnitPrefix::kNone;
  if (baseOf(word, base)) return true;
  std::size_t length = 1;
  if (word.starts_with("\xC2\xB5")) {
    prefix = UnitPrefix::kMicro;
    length = 2;
  } else if (word.empty()) {
    return false;
  } else {
    switch (word[0]) {
      case 'n':
        prefix = UnitPrefix::kNano;
        break;
      case 'u':
      case '\xB5':
        prefix = UnitPrefix::kMicro;
        break;
      case 'm':
        prefix = UnitPrefix::kMilli;
        break;
      case 'k':
      case 'K':
        prefix = UnitPrefix::kKilo;
        break;
      case 'M':
        prefix = UnitPrefix::kMega;
        break;
      default:
        return false;
    }
  }
  return baseOf(word.substr(length), base);
}

char PrefixLetter(UnitPrefix prefix) {
  switch (prefix) {
    case UnitPrefix::kNano:
      return 'n';
    case UnitPrefix::kMicro:
      return 'u';
    case UnitPrefix::kMilli:
      return 'm';
    case UnitPrefix::kKilo:
      return 'k';
    case UnitPrefix::kMega:
      return 'M';
    case UnitPrefix::kNone:
      break;
  }
  return ' ';
}

Status ParseUnit(std::string_view word, const FunctionDesc& desc, MeterReading& out) {
  Status unfit = Status::Invalid("unit " + Quoted(word) + " does not fit " + desc.name + " (use " +
                                 desc.units + ")");
  if (!SplitUnit(word, desc.function == MeterFunction::kTemperature, out.prefix, out.unit)) {
    return unfit;
  }
  if (out.unit != desc.bases[0] && out.unit != desc.bases[1]) return unfit;
  if (out.prefix != UnitPrefix::kNone &&
      std::string_view(desc.prefixes).find(PrefixLetter(out.prefix)) == std::string_view::npos) {
    return unfit;
  }
  return Status::Ok();
}

void Light(std::string& frame, frame::Bit bit) {
  frame[bit.byte] = static_cast<char>(static_cast<std::uint8_t>(frame[bit.byte]) | bit.mask);
}

void SetDigit(std::string& frame, int place, std::uint8_t code) {
  const std::size_t first = frame::DigitFirstByte(place);
  frame[first] = static_cast<char>(static_cast<std::uint8_t>(frame[first]) | (code >> 4));
  frame[first + 1] =
      static_cast<char>(static_cast<std::uint8_t>(frame[first + 1]) | (code & frame::kLowNibble));
}

void LightDigits(std::string& frame, const MeterReading& reading) {
  if (reading.overload) {
    SetDigit(frame, 2, frame::kLetterO);
    SetDigit(frame, 3, frame::kLetterL);
    return;
  }
  int lit = reading.shownDigits > reading.decimals + 1 ? reading.shownDigits : reading.decimals + 1;
  int rest = reading.counts;
  for (int place = frame::kDigitCount; place >= 1; --place) {
    const bool significant = rest > 0;
    if (!significant && lit <= 0) break;
    SetDigit(frame, place, frame::kDigitCodes[static_cast<std::size_t>(rest % 10)]);
    rest /= 10;
    --lit;
  }
  if (reading.negative) Light(frame, frame::kMinus);
  if (reading.decimals == 1) Light(frame, frame::kPointBeforeDigit4);
  if (reading.decimals == 2) Light(frame, frame::kPointBeforeDigit3);
  if (reading.decimals == 3) Light(frame, frame::kPointBeforeDigit2);
}

void LightPrefix(std::string& frame, UnitPrefix prefix) {
  switch (prefix) {
    case UnitPrefix::kNano:
      Light(frame, frame::kNano);
      break;
    case UnitPrefix::kMicro:
      Light(frame, frame::kMicro);
      break;
    case UnitPrefix::kMilli:
      Light(frame, frame::kMilli);
      break;
    case UnitPrefix::kKilo:
      Light(frame, frame::kKilo);
      break;
    case UnitPrefix::kMega:
      Light(frame, frame::kMega);
      break;
    case UnitPrefix::kNone:
      break;
  }
}

void LightFunction(std::string& frame, const MeterReading& reading) {
  const frame::Bit unitBit = reading.unit == BaseUnit::kAmpere ? frame::kAmpere : frame::kVolt;
  switch (reading.function) {
    case MeterFunction::kDc:
      Light(frame, frame::kDc);
      Light(frame, unitBit);
      break;
    case MeterFunction::kAc:
      Light(frame, frame::kAc);
      Light(frame, unitBit);
      break;
    case MeterFunction::kOhm:
      Light(frame, frame::kOhm);
      break;
    case MeterFunction::kContinuity:
      Light(frame, frame::kOhm);
      Light(frame, frame::kContinuity);
      break;
    case MeterFunction::kDiode:
      Light(frame, frame::kDiode);
      Light(frame, frame::kVolt);
      break;
    case MeterFunction::kFrequency:
      Light(frame, frame::kHertz);
      break;
    case MeterFunction::kCapacitance:
      Light(frame, frame::kFarad);
      break;
    case MeterFunction::kDuty:
      Light(frame, frame::kDuty);
      break;
    // A temperature is the one frame without any unit annunciator.
    case MeterFunction::kTemperature:
      return;
  }
  LightPrefix(frame, reading.prefix);
}

}  // namespace

Status ParseMeterReading(std::string_view words, MeterReading& out) {
  const std::vector<std::string_view> parts = SplitWords(words);
  if (parts.empty()) return Status::Invalid("empty reading");
  const FunctionDesc* desc = nullptr;
  for (const FunctionDesc& d : kFunctions) {
    if (SameLetters(parts[0], d.name)) desc = &d;
  }
  if (desc == nullptr) {
    return Status::Invalid("unknown function " + Quoted(parts[0]) +
                           " (use DC, AC, OHM, CONT, DIODE, FREQ, CAP, DUTY or TEMP)");
  }
  out = MeterReading{};
  out.function = desc->function;
  out.unit = desc->bases[0];
  if (parts.size() < 2) return Status::Invalid(Quoted(words) + " needs a number or OL");
  if (SameLetters(parts[1], "OL")) {
    out.overload = true;
  } else {
    if (Status s = ParseNumber(parts[1], out); !s.ok()) return s;
    if (parts.size() < 3) return Status::Invalid(Quoted(words) + " needs a unit");
  }
  if (parts.size() >= 3) {
    if (Status s = ParseUnit(parts[2], *desc, out); !s.ok()) return s;
  }
  if (parts.size() > 3)
    return Status::Invalid("unexpected " + Quoted(parts[3]) + " after the unit");
  return Status::Ok();
}

std::string EncodeMeterFrame(const MeterReading& reading) {
  std::string frame(frame::kFrameSize, '\0');
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<char>((i + 1) << 4);
  LightDigits(frame, reading);
  LightFunction(frame, reading);
  return frame;
}

bool NeedsCarrierDetect(const MeterReading& reading) {
  return reading.function == MeterFunction::kTemperature && reading.unit == BaseUnit::kFahrenheit;
}

std::optional<std::string> FrameFor(std::string_view words, bool* fahrenheit) {
  MeterReading reading;
  if (!ParseMeterReading(words, reading).ok()) return std::nullopt;
  if (fahrenheit != nullptr) *fahrenheit = NeedsCarrierDetect(reading);
  return EncodeMeterFrame(reading);
}

}  // namespace ql
