#pragma once
// The function classes of a reading, 'A' to 'Y', as the classification
// assigns them and the sampling cycle and the reading modes test them.
// The letters are contiguous: they index the table of labels, and a
// frame's code carries the letter of the frame before.

namespace ql::class_letter {

inline constexpr char kAcVolt = 'A';
inline constexpr char kDcVolt = 'B';
inline constexpr char kAcMilliVolt = 'C';
inline constexpr char kDcMilliVolt = 'D';
inline constexpr char kOhm = 'E';  // resistance and continuity
inline constexpr char kNanoSiemens = 'F';
inline constexpr char kDiode = 'G';
inline constexpr char kCapacitance = 'H';
inline constexpr char kAcMilliAmp = 'I';
inline constexpr char kDcMilliAmp = 'J';
inline constexpr char kAc20Amp = 'K';
inline constexpr char kDc20Amp = 'L';
inline constexpr char kLogic = 'M';
inline constexpr char kSignalOut = 'N';
inline constexpr char kTemperature = 'O';
inline constexpr char kHumidity = 'P';
inline constexpr char kPressure = 'Q';
inline constexpr char kAuxCurrent = 'R';
inline constexpr char kSetup = 'S';
inline constexpr char kSelfTest = 'T';
inline constexpr char kFrequency = 'U';
inline constexpr char kHfe = 'V';
inline constexpr char kDcMicroAmp = 'W';
inline constexpr char kAcMicroAmp = 'X';
inline constexpr char kDuty = 'Y';

inline constexpr char kFirst = kAcVolt;
inline constexpr char kLast = kDuty;

// Returns true iff `letter` names a class.
constexpr bool IsClass(char letter) { return letter >= kFirst && letter <= kLast; }
// Returns true iff `letter` is one of the four voltage classes.
constexpr bool IsVoltage(char letter) { return letter >= kAcVolt && letter <= kDcMilliVolt; }
// Returns true iff `letter` is one of the two 20 A classes.
constexpr bool IsHighCurrent(char letter) { return letter == kAc20Amp || letter == kDc20Amp; }
// Returns true iff readings of `letter` are never over range.
constexpr bool HasNoRange(char letter) { return letter == kLogic || letter == kSignalOut; }

}  // namespace ql::class_letter
