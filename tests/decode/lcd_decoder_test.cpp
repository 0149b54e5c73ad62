#include "decode/lcd_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "decode/frame_builder.h"
#include "base/frame_layout.h"

namespace ql {
namespace {

using test_support::FrameOf;
namespace f = frame;

struct DecodeCase {
  const char* name;
  std::string frame;
  bool carrier;
  const char* codeBefore;
  const char* display;
  const char* unit;
  const char* code;
};

std::ostream& operator<<(std::ostream& os, const DecodeCase& c) { return os << c.name; }

class DecodeTable : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTable, GivesTheThreeTexts) {
  const DecodeCase& c = GetParam();
  LcdTexts texts;
  std::snprintf(texts.code, sizeof texts.code, "%s", c.codeBefore);
  ASSERT_TRUE(DecodeLcdFrame(
      c.frame, [&] { return c.carrier; }, texts));
  EXPECT_STREQ(texts.display, c.display);
  EXPECT_STREQ(texts.unit, c.unit);
  EXPECT_STREQ(texts.code, c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, DecodeTable,
    ::testing::Values(
        DecodeCase{"BlankDisplay", FrameOf("    ", 0, false, {f::kDc, f::kVolt}), false, "   ",
                   "      ", "   V", "DC "},
        DecodeCase{"MinusAndPointBeforeDigit3", FrameOf("1234", 3, true, {f::kDc, f::kVolt}), false,
                   "   ", "-12.34", "   V", "DC "},
        DecodeCase{"PointBeforeDigit2", FrameOf("1234", 2, false, {f::kAc, f::kVolt}), false, "   ",
                   " 1.234", "   V", "AC "},
        DecodeCase{"PointBeforeDigit4", FrameOf("5678", 4, false, {f::kDc, f::kMilli, f::kAmpere}),
                   false, "   ", " 567.8", "  mA", "DC "},
        DecodeCase{"NoPointLeavesTrailingBlank", FrameOf("0129", 0, true, {f::kDc, f::kVolt}),
                   false, "   ", "-0129 ", "   V", "DC "},
        DecodeCase{"MinusMovesUpToFirstLitDigit", FrameOf("  50", 4, true, {f::kDc, f::kVolt}),
                   false, "   ", "  -5.0", "   V", "DC "},
        DecodeCase{"MinusAloneStaysLeft", FrameOf("    ", 0, true, {f::kDc, f::kVolt}), false,
                   "   ", "-     ", "   V", "DC "},
        DecodeCase{"OverloadWhateverSignAndPoint", FrameOf(" OL ", 3, true, {f::kOhm, f::kMega}),
                   false, "   ", " 40000", "MOhm", "OH "},
        DecodeCase{"OverloadPlain", FrameOf(" OL ", 0, false, {f::kOhm}), false, "   ", " 40000",
                   " Ohm", "OH "},
        DecodeCase{"LetterLWithoutOIsABlank", FrameOf("12L3", 0, false, {f::kDc, f::kVolt}), false,
                   "   ", " 12 3 ", "   V", "DC "},
        DecodeCase{"DutyWinsOverVolt", FrameOf("0500", 4, false, {f::kVolt, f::kDuty}), false,
                   "   ", " 050.0", "   %", "DU "},
        DecodeCase{"FaradWinsOverDc", FrameOf("4700", 2, false, {f::kDc, f::kNano, f::kFarad}),
                   false, "   ", " 4.700", "  nF", "CA "},
        DecodeCase{"KiloOhm", FrameOf("1234", 3, false, {f::kOhm, f::kKilo}), false, "   ",
                   " 12.34", "KOhm", "OH "},
        DecodeCase{"KiloHertz", FrameOf("4500", 2, false, {f::kHertz, f::kKilo}), false, "   ",
                   " 4.500", "K Hz", "FR "},
        DecodeCase{"MicroAmpere", FrameOf(" 400", 0, false, {f::kDc, f::kMicro, f::kAmpere}), false,
                   "   ", "  400 ", "  uA", "DC "},
        DecodeCase{"DiodeWithVolt", FrameOf("0512", 2, false, {f::kDiode, f::kVolt}), false, "   ",
                   " 0.512", "   V", "DI "},
        DecodeCase{"ContinuityWinsOverOhm", FrameOf(" 123", 4, false, {f::kOhm, f::kContinuity}),
                   false, "   ", "  12.3", " Ohm", "CO "},
        DecodeCase{"TemperatureCelsiusWithCarrierOff", FrameOf(" 235", 4, false, {}), false, "   ",
                   "  23.5", "   C", "TE "},
        DecodeCase{"TemperatureFahrenheitWithCarrierOn", FrameOf(" 743", 4, false, {f::kDc}), true,
                   "   ", "  74.3", "   F", "TE "},
        DecodeCase{"NoFunctionAnnunciatorKeepsCode", FrameOf("1234", 3, false, {f::kVolt}), false,
                   "BC ", " 12.34", "   V", "BC "}),
    [](const ::testing::TestParamInfo<DecodeCase>& tested) { return tested.param.name; });

TEST(LcdDecoder, ShortFrameIsRejectedAndTextsStay) {
  LcdTexts texts;
  std::snprintf(texts.code, sizeof texts.code, "BC ");
  const std::string frame = FrameOf("1234", 3, false, {f::kDc, f::kVolt});
  EXPECT_FALSE(DecodeLcdFrame(frame.substr(0, 13), {}, texts));
  EXPECT_FALSE(DecodeLcdFrame("", {}, texts));
  EXPECT_STREQ(texts.display, "      ");
  EXPECT_STREQ(texts.unit, "    ");
  EXPECT_STREQ(texts.code, "BC ");
}

TEST(LcdDecoder, ReadsOnlyLowNibblesOfBytes0To12) {
  std::string frame = FrameOf("1234", 3, true, {f::kAc, f::kMilli, f::kVolt});
  LcdTexts plain;
  ASSERT_TRUE(DecodeLcdFrame(frame, {}, plain));
  for (char& byte : frame) byte = static_cast<char>(static_cast<std::uint8_t>(byte) | 0xF0);
  frame[13] = static_cast<char>(0xFF);
  frame += "trailing bytes";
  LcdTexts noisy;
  ASSERT_TRUE(DecodeLcdFrame(frame, {}, noisy));
  EXPECT_STREQ(noisy.display, plain.display);
  EXPECT_STREQ(noisy.unit, plain.unit);
  EXPECT_STREQ(noisy.code, plain.code);
}

TEST(LcdDecoder, AsksCarrierDetectOnlyForTemperature) {
  int asked = 0;
  auto carrier = [&asked] {
    ++asked;
    return true;
  };
  LcdTexts texts;
  ASSERT_TRUE(DecodeLcdFrame(FrameOf("1234", 3, false, {f::kDc, f::kVolt}), carrier, texts));
  EXPECT_EQ(asked, 0);
  ASSERT_TRUE(DecodeLcdFrame(FrameOf(" 235", 4, false, {}), carrier, texts));
  EXPECT_EQ(asked, 1);
  EXPECT_STREQ(texts.unit, "   F");
}

TEST(LcdDecoder, TemperatureWithoutCarrierReaderIsCelsius) {
  LcdTexts texts;
  ASSERT_TRUE(DecodeLcdFrame(FrameOf(" 235", 4, false, {}), {}, texts));
  EXPECT_STREQ(texts.unit, "   C");
  EXPECT_STREQ(texts.code, "TE ");
}

}  // namespace
}  // namespace ql
