#include "decode/classify.h"

#include <array>
#include <cstring>

#include "base/text_number.h"
#include "decode/class_letters.h"

namespace ql {

using namespace class_letter;

namespace {

// Labels of the classes 'A' to 'Y', before padding to 20 characters.
constexpr std::array<const char*, 25> kLabels = {
    "ACV",                  // A
    "DCV",                  // B
    "mV [AC]",              // C
    "mV [DC]",              // D
    "OHM",                  // E
    "nS",                   // F
    "DIODE",                // G
    "CAPACITANCE",          // H
    "mA [AC]",              // I
    "mA [DC]",              // J
    "20A [AC]",             // K
    "20A [DC]",             // L
    "LOGIC",                // M
    "SIGNAL OUT",           // N
    "TEMPERATURE",          // O
    "HUMIDITY[REL]/ AUX",   // P
    "PRESSURE / AUX",       // Q
    " A [CURRENT] / AUX",   // R
    "SETUP / INSTALL",      // S
    "SELF TEST / INSTALL",  // T
    "FREQUENCY",            // U
    "hFE",                  // V
    "uA [DC]",              // W: first character shown as the micro sign
    "uA [AC]",              // X: first character shown as the micro sign
    "DUTY",                 // Y
};

void SetLabel(char letter, char (&label)[21]) {
  std::memset(label, ' ', 20);
  label[20] = '\0';
  const char* name = kLabels[static_cast<std::size_t>(letter - kFirst)];
  std::memcpy(label, name, std::strlen(name));
}

bool CodeIs(const char (&code)[4], const char* two) {
  return code[0] == two[0] && code[1] == two[1];
}

// Voltage and current under an "AC" or "DC" code: picks the class from the
// unit and rewrites the unit to carry the coupling ('  mA' -> 'mAac').
// Returns `fallback` with the unit unchanged when no rule applies.
char CouplingClass(char (&unit)[5], const char* coupling, char volt, char milliAmp, char amp,
                   char microAmp, char fallback) {
  const char sub = unit[2];
  const char letter = unit[3];
  char cls = fallback;
  if (letter == 'V') {
    cls = volt;
  } else if (letter == 'A' && sub == 'm') {
    cls = milliAmp;
  } else if (letter == 'A' && sub == ' ') {
    cls = amp;
  } else if (letter == 'A' && sub == 'u') {
    cls = microAmp;
  } else {
    return fallback;
  }
  unit[0] = sub;
  unit[1] = letter;
  unit[2] = coupling[0];
  unit[3] = coupling[1];
  return cls;
}

char ClassFor(char (&code)[4], char (&unit)[5]) {
  if (CodeIs(code, "AC")) return CouplingClass(unit, "ac", kAcVolt, kAcMilliAmp, kAc20Amp, kAcMicroAmp,
                                              kAcVolt);
  if (CodeIs(code, "DC")) return CouplingClass(unit, "dc", kDcVolt, kDcMilliAmp, kDc20Amp, kDcMicroAmp,
                                              kDcMilliVolt);
  if (CodeIs(code, "OH") || CodeIs(code, "CO")) return kOhm;
  if (CodeIs(code, "DI")) return kDiode;
  if (CodeIs(code, "CA")) return kCapacitance;
  if (CodeIs(code, "TE")) return kTemperature;
  if (CodeIs(code, "LO")) return kLogic;
  if (CodeIs(code, "FG")) return kSignalOut;
  if (CodeIs(code, "FR")) return kFrequency;
  if (CodeIs(code, "HF")) return kHfe;
  if (CodeIs(code, "DU")) return kDuty;
  // The code's first letter holds the class of the frame before (written
  // there below), so a frame without function annunciators keeps it.
  return code[0];
}

int CountDecimals(const char (&display)[7]) {
  for (int pos = 4; pos >= 0; --pos) {
    if (display[pos] == '.') return 5 - pos;
  }
  return 0;
}

// Over range against the limits of one range family. The value is compared
// as the single-precision number the reading holds, against double limits,
// so a display exactly at a limit may fall either side of it.
bool OverRange(std::string_view display, int decimals, const std::array<double, 4>& limits,
               char firstDigitLimit) {
  const double value = static_cast<double>(static_cast<float>(TextToNumber(display)));
  if (decimals <= 0) return value >= limits[0];
  if (decimals <= 3) return value >= limits[static_cast<std::size_t>(decimals)];
  return display.size() > 1 && display[1] >= firstDigitLimit;
}

constexpr std::array<double, 4> kCountLimits = {3999.0, 399.9, 39.99, 3.999};
constexpr std::array<double, 4> kFrequencyLimits = {5000.0, 500.0, 50.0, 5.0};

}  // namespace

Reading Classify(LcdTexts& texts) {
  Reading reading;
  const double number = TextToNumber(texts.display);
  reading.value = static_cast<float>(number);

  if (texts.unit[0] == 'K') {
    reading.factor *= 1000.0;
    texts.unit[0] = 'k';
  } else if (texts.unit[0] == 'M') {
    reading.factor *= 1000000.0;
  }
  if (texts.unit[2] == 'm') {
    reading.factor *= 0.001;
  } else if (texts.unit[2] == 'n') {
    reading.factor *= 0.000000001;
  } else if (texts.unit[2] == 'u') {
    reading.factor *= 0.000001;
  }
  reading.scaled = number * reading.factor;

  const char letter = ClassFor(texts.code, texts.unit);
  texts.code[0] = letter;
  if (!IsClass(letter)) return reading;
  reading.classLetter = letter;
  SetLabel(letter, reading.label);

  switch (letter) {
    case kLogic:
      if (texts.display[2] == 'L') reading.value = -1.0f;
      if (texts.display[2] == 'M') reading.value = 0.0f;
      if (texts.display[2] == 'H') reading.value = 1.0f;
      break;
    case kTemperature:
      texts.unit[2] = kDegreeSign;
      break;
    case kDcMicroAmp:
    case kAcMicroAmp:
      reading.label[0] = kMicroSign;
      break;
    default:
      break;
  }
  reading.decimals = CountDecimals(texts.display);
  return reading;
}

bool ListOverRange(std::string_view display, char classLetter, int decimals) {
  if (HasNoRange(classLetter)) return false;
  if (classLetter == kFrequency) return OverRange(display, decimals, kFrequencyLimits, '5');
  return OverRange(display, decimals, kCountLimits, '4');
}

bool PanelOverRange(std::string_view display, char classLetter, int decimals) {
  if (HasNoRange(classLetter)) return false;
  return OverRange(display, decimals, kCountLimits, '4');
}

}  // namespace ql
