#include "sim/meter_words.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ql {
namespace {

std::vector<int> Bytes(const std::string& frame) {
  std::vector<int> bytes;
  for (char c : frame) bytes.push_back(static_cast<std::uint8_t>(c));
  return bytes;
}

TEST(MeterWords, FrameCarriesHighNibbles1ToEAndTheLitBits) {
  const std::optional<std::string> frame = FrameFor("DC 12.34 V");
  ASSERT_TRUE(frame.has_value());
  // The example of docs/frame.md: DC, digits 1 2 3 4, point before digit 3, volt.
  EXPECT_EQ(Bytes(*frame), (std::vector<int>{0x14, 0x20, 0x35, 0x45, 0x5B, 0x69, 0x7F, 0x82, 0x97,
                                             0xA0, 0xB0, 0xC0, 0xD4, 0xE0}));
}

TEST(MeterWords, OverloadLightsOAndLOnly) {
  const std::optional<std::string> frame = FrameFor("OHM OL kOhm");
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(Bytes(*frame), (std::vector<int>{0x10, 0x20, 0x30, 0x47, 0x5D, 0x66, 0x78, 0x80, 0x90,
                                             0xA2, 0xB0, 0xC4, 0xD0, 0xE0}));
}

TEST(MeterWords, ParsesDigitsPointAndSign) {
  MeterReading reading;
  ASSERT_TRUE(ParseMeterReading("  dc   -0.512   mV ", reading).ok());
  EXPECT_EQ(reading.function, MeterFunction::kDc);
  EXPECT_TRUE(reading.negative);
  EXPECT_EQ(reading.counts, 512);
  EXPECT_EQ(reading.decimals, 3);
  EXPECT_EQ(reading.shownDigits, 4);
  EXPECT_EQ(reading.prefix, UnitPrefix::kMilli);
  EXPECT_EQ(reading.unit, BaseUnit::kVolt);
}

struct BadWords {
  const char* words;
  const char* reason;
};

class MeterWordsErrors : public ::testing::TestWithParam<BadWords> {};

TEST_P(MeterWordsErrors, SayWhatCannotBeShown) {
  MeterReading reading;
  const Status status = ParseMeterReading(GetParam().words, reading);
  EXPECT_EQ(status.code(), Status::Code::kInvalid);
  EXPECT_EQ(status.reason(), GetParam().reason);
  EXPECT_FALSE(FrameFor(GetParam().words).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Words, MeterWordsErrors,
    ::testing::Values(
        BadWords{"", "empty reading"},
        BadWords{
            "VOLT 1 V",
            "unknown function \"VOLT\" (use DC, AC, OHM, CONT, DIODE, FREQ, CAP, DUTY or TEMP)"},
        BadWords{"DC 12.345 V", "\"12.345\" has more than four digits"},
        BadWords{"DC 12345 V", "\"12345\" has more than four digits"},
        BadWords{"DC 1.2.3 V", "\"1.2.3\" is not a number"},
        BadWords{"DC .5 V", "\".5\" needs a digit before the point"},
        BadWords{"DC 5. V", "\"5.\" needs a digit after the point"},
        BadWords{"DC 12.34", "\"DC 12.34\" needs a unit"},
        BadWords{"DC", "\"DC\" needs a number or OL"},
        BadWords{"DC 12.34 kV", "unit \"kV\" does not fit DC (use V, mV, uV, nV, A, mA, uA or nA)"},
        BadWords{"OHM 1.000 mOhm", "unit \"mOhm\" does not fit OHM (use Ohm, kOhm or MOhm)"},
        BadWords{"TEMP 23.5 K", "unit \"K\" does not fit TEMP (use C or F)"},
        BadWords{"FREQ 1.000 Hz Hz", "unexpected \"Hz\" after the unit"}));

}  // namespace
}  // namespace ql
