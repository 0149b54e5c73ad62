#pragma once
// The meter simulator's vocabulary: a reading described in words, as a user
// would read it off the meter ("DC 12.34 V", "OHM OL", "TEMP 74.3 F"),
// turned into the 14-byte display frame the meter would send for it.
//
//   reading  = function ( number unit | "OL" [ unit ] )
//   function = DC | AC | OHM | CONT | DIODE | FREQ | CAP | DUTY | TEMP
//              (any letter case)
//   number   = [ "-" | "+" ] digits [ "." digits ]
//              at most four digits in all, at most three after the point,
//              at least one before it
//   unit     = [ prefix ] base, the prefix one of n u m k M (u also as the
//              micro sign), the base as the function allows:
//     DC, AC  V or A with n u m (mV, uA, ...)
//     OHM     Ohm with k M        CONT   Ohm
//     FREQ    Hz with k M         CAP    F with n u m
//     DIODE   V                   DUTY   %
//     TEMP    C or F, optionally with the degree sign
//
// Digits are right-aligned on the four digit places; places to the left of
// the number stay dark, as on the meter ("DC 400 uA" shows "  400").
// Degrees Fahrenheit are not in the frame: the meter raises its
// carrier-detect line for them, which the simulator reports.

#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"

namespace ql {

enum class MeterFunction {
  kDc,
  kAc,
  kOhm,
  kContinuity,
  kDiode,
  kFrequency,
  kCapacitance,
  kDuty,
  kTemperature
};
enum class UnitPrefix { kNone, kNano, kMicro, kMilli, kKilo, kMega };
enum class BaseUnit { kVolt, kAmpere, kOhm, kHertz, kFarad, kPercent, kCelsius, kFahrenheit };

// One reading as the meter shows it.
struct MeterReading {
  MeterFunction function = MeterFunction::kDc;
  UnitPrefix prefix = UnitPrefix::kNone;
  BaseUnit unit = BaseUnit::kVolt;
  bool overload = false;  // the display shows OL; the number below is unused
  bool negative = false;  // the minus sign is lit
  int counts = 0;         // the digits read as one number, 0 .. 9999 (1234 for 12.34)
  int decimals = 0;       // digits after the point, 0 .. 3
  int shownDigits = 1;    // lit digit places; the encoder lights at least
                          // max(decimals + 1, digits of counts)
};

// Parses `words` (grammar above) into `out`. Returns ok, or Invalid with a
// reason naming what cannot be shown; `out` may then be partly filled.
Status ParseMeterReading(std::string_view words, MeterReading& out);

// The 14-byte frame for `reading`: the low nibbles light its segments and
// annunciators; the high nibbles are 0x1 .. 0xE for bytes 0 .. 13, so the
// last three carry the C/D/E end marker.
// REQUIRES: counts 0 .. 9999, decimals 0 .. 3.
std::string EncodeMeterFrame(const MeterReading& reading);

// Returns true iff the meter raises carrier detect while showing `reading`
// (a temperature in degrees Fahrenheit).
bool NeedsCarrierDetect(const MeterReading& reading);

// Parses and encodes in one step. Returns nullopt when `words` cannot be
// shown (ParseMeterReading gives the reason). `fahrenheit`, when given, is
// set to NeedsCarrierDetect of the reading.
std::optional<std::string> FrameFor(std::string_view words, bool* fahrenheit = nullptr);

}  // namespace ql
