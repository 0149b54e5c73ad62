#include "decode/classify.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "decode/frame_builder.h"
#include "decode/lcd_decoder.h"

namespace ql {
namespace {

LcdTexts Texts(const char* display, const char* unit, const char* code) {
  LcdTexts texts;
  std::snprintf(texts.display, sizeof texts.display, "%s", display);
  std::snprintf(texts.unit, sizeof texts.unit, "%s", unit);
  std::snprintf(texts.code, sizeof texts.code, "%s", code);
  return texts;
}

struct ClassifyCase {
  const char* name;
  const char* display;
  const char* unitIn;
  const char* codeIn;
  char classLetter;
  const char* label;
  const char* unitOut;
  float value;
  double scaled;
  int decimals;
};

std::ostream& operator<<(std::ostream& os, const ClassifyCase& c) { return os << c.name; }

class ClassifyTable : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(ClassifyTable, GivesClassUnitValueAndRange) {
  const ClassifyCase& c = GetParam();
  LcdTexts texts = Texts(c.display, c.unitIn, c.codeIn);
  const Reading reading = Classify(texts);
  EXPECT_EQ(reading.classLetter, c.classLetter);
  EXPECT_STREQ(reading.label, c.label);
  EXPECT_STREQ(texts.unit, c.unitOut);
  EXPECT_EQ(texts.code[0], c.classLetter);
  EXPECT_EQ(reading.value, c.value);
  EXPECT_DOUBLE_EQ(reading.scaled, c.scaled);
  if (c.classLetter != 'M' && c.value != 0.0f) {
    const double factor = c.scaled / static_cast<double>(c.value);
    EXPECT_NEAR(reading.factor, factor, factor * 1e-6);
  }
  EXPECT_EQ(reading.decimals, c.decimals);
}

INSTANTIATE_TEST_SUITE_P(
    Readings, ClassifyTable,
    ::testing::Values(ClassifyCase{"AcMilliVolt", " 1.234", "  mV", "AC ", 'A',
                                   "ACV                 ", "mVac", 1.234f, 0.001234, 3},
                      ClassifyCase{"AcVolt", "-12.34", "   V", "AC ", 'A', "ACV                 ",
                                   " Vac", -12.34f, -12.34, 2},
                      ClassifyCase{"DcVolt", " 123.4", "   V", "DC ", 'B', "DCV                 ",
                                   " Vdc", 123.4f, 123.4, 1},
                      ClassifyCase{"DcAmpere", " 5.000", "   A", "DC ", 'L', "20A [DC]            ",
                                   " Adc", 5.0f, 5.0, 3},
                      ClassifyCase{"AcAmpere", " 1.500", "   A", "AC ", 'K', "20A [AC]            ",
                                   " Aac", 1.5f, 1.5, 3},
                      ClassifyCase{"DcMilliAmpere", " 120.0", "  mA", "DC ", 'J',
                                   "mA [DC]             ", "mAdc", 120.0f, 0.12, 1},
                      ClassifyCase{"AcMilliAmpere", " 12.00", "  mA", "AC ", 'I',
                                   "mA [AC]             ", "mAac", 12.0f, 0.012, 2},
                      ClassifyCase{"DcMicroAmpere", "  400 ", "  uA", "DC ", 'W',
                                   "\xB5"
                                   "A [DC]             ",
                                   "uAdc", 400.0f, 0.0004, 0},
                      ClassifyCase{"AcMicroAmpere", " 200.0", "  uA", "AC ", 'X',
                                   "\xB5"
                                   "A [AC]             ",
                                   "uAac", 200.0f, 0.0002, 1},
                      ClassifyCase{"DcNanoAmpereHasNoCurrentClass", " 12.00", "  nA", "DC ", 'D',
                                   "mV [DC]             ", "  nA", 12.0f, 12e-9, 2},
                      ClassifyCase{"AcWithoutUnitStaysAcv", " 12.00", "    ", "AC ", 'A',
                                   "ACV                 ", "    ", 12.0f, 12.0, 2},
                      ClassifyCase{"CapacitanceNano", " 4.700", "  nF", "CA ", 'H',
                                   "CAPACITANCE         ", "  nF", 4.7f, 4.7e-9, 3},
                      ClassifyCase{"KiloOhm", " 12.34", "KOhm", "OH ", 'E', "OHM                 ",
                                   "kOhm", 12.34f, 12340.0, 2},
                      ClassifyCase{"MegaOhm", " 2.000", "MOhm", "OH ", 'E', "OHM                 ",
                                   "MOhm", 2.0f, 2000000.0, 3},
                      ClassifyCase{"Continuity", "  12.3", " Ohm", "CO ", 'E',
                                   "OHM                 ", " Ohm", 12.3f, 12.3, 1},
                      ClassifyCase{"Diode", " 0.512", "   V", "DI ", 'G', "DIODE               ",
                                   "   V", 0.512f, 0.512, 3},
                      ClassifyCase{"TemperatureCelsius", "  23.5", "   C", "TE ", 'O',
                                   "TEMPERATURE         ",
                                   "  \xB0"
                                   "C",
                                   23.5f, 23.5, 1},
                      ClassifyCase{"TemperatureFahrenheit", "  74.3", "   F", "TE ", 'O',
                                   "TEMPERATURE         ",
                                   "  \xB0"
                                   "F",
                                   74.3f, 74.3, 1},
                      ClassifyCase{"KiloHertz", " 4.500", "K Hz", "FR ", 'U',
                                   "FREQUENCY           ", "k Hz", 4.5f, 4500.0, 3},
                      ClassifyCase{"Duty", "  50.0", "   %", "DU ", 'Y', "DUTY                ",
                                   "   %", 50.0f, 50.0, 1},
                      ClassifyCase{"Overload", " 40000", "MOhm", "OH ", 'E', "OHM                 ",
                                   "MOhm", 40000.0f, 4e10, 0},
                      ClassifyCase{"BlankDisplayIsZero", "      ", "   V", "DC ", 'B',
                                   "DCV                 ", " Vdc", 0.0f, 0.0, 0},
                      ClassifyCase{"LogicLow", "  L   ", "    ", "LO ", 'M', "LOGIC               ",
                                   "    ", -1.0f, 0.0, 0},
                      ClassifyCase{"LogicHigh", "  H   ", "    ", "LO ", 'M',
                                   "LOGIC               ", "    ", 1.0f, 0.0, 0},
                      ClassifyCase{"SignalOut", " 1.000", "    ", "FG ", 'N',
                                   "SIGNAL OUT          ", "    ", 1.0f, 1.0, 3},
                      ClassifyCase{"Hfe", "  120 ", "    ", "HF ", 'V', "hFE                 ",
                                   "    ", 120.0f, 120.0, 0}),
    [](const ::testing::TestParamInfo<ClassifyCase>& tested) { return tested.param.name; });

TEST(Classify, BlankCodeAfterRunStartHasNoClass) {
  LcdTexts texts = Texts(" 12.34", "   V", "   ");
  const Reading reading = Classify(texts);
  EXPECT_EQ(reading.classLetter, 0);
  EXPECT_STREQ(texts.code, "   ");
}

TEST(Classify, FrameWithoutFunctionKeepsClassOfFrameBefore) {
  using test_support::FrameOf;
  LcdTexts texts;
  ASSERT_TRUE(DecodeLcdFrame(FrameOf("1234", 3, false, {frame::kDc, frame::kVolt}), {}, texts));
  EXPECT_EQ(Classify(texts).classLetter, 'B');
  EXPECT_STREQ(texts.code, "BC ");

  // Only the milli-ampere annunciators: no function annunciator at all.
  ASSERT_TRUE(
      DecodeLcdFrame(FrameOf("1234", 3, false, {frame::kMilli, frame::kAmpere}), {}, texts));
  const Reading next = Classify(texts);
  EXPECT_EQ(next.classLetter, 'B');
  EXPECT_STREQ(next.label, "DCV                 ");
  EXPECT_STREQ(texts.unit, "  mA");
}

TEST(Classify, DcClassesAreDerivedAgainFromTheNextUnit) {
  using test_support::FrameOf;
  LcdTexts texts;
  // Class D keeps the code "DC", so the next frame's unit picks the class.
  ASSERT_TRUE(DecodeLcdFrame(FrameOf("1200", 3, false, {frame::kDc, frame::kNano, frame::kAmpere}),
                             {}, texts));
  EXPECT_EQ(Classify(texts).classLetter, 'D');
  ASSERT_TRUE(
      DecodeLcdFrame(FrameOf("1200", 3, false, {frame::kMilli, frame::kAmpere}), {}, texts));
  EXPECT_EQ(Classify(texts).classLetter, 'J');
  EXPECT_STREQ(texts.unit, "mAdc");
}

struct OverCase {
  const char* display;
  char classLetter;
  int decimals;
  bool listOver;
  bool panelOver;
};

std::ostream& operator<<(std::ostream& os, const OverCase& c) {
  return os << '"' << c.display << "\" class " << c.classLetter << " decimals " << c.decimals;
}

class OverRangeTable : public ::testing::TestWithParam<OverCase> {};

TEST_P(OverRangeTable, ComparesAgainstTheLimitOfTheRange) {
  const OverCase& c = GetParam();
  EXPECT_EQ(ListOverRange(c.display, c.classLetter, c.decimals), c.listOver);
  EXPECT_EQ(PanelOverRange(c.display, c.classLetter, c.decimals), c.panelOver);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, OverRangeTable,
    ::testing::Values(
        OverCase{" 3999 ", 'B', 0, true, true}, OverCase{" 3998 ", 'B', 0, false, false},
        OverCase{"-3999 ", 'B', 0, false, false},
        // The single-precision value against double limits: these
        // two displays at a limit are over, 399.9 is not.
        OverCase{" 39.99", 'B', 2, true, true}, OverCase{" 3.999", 'A', 3, true, true},
        OverCase{" 399.9", 'E', 1, false, false}, OverCase{" 39.98", 'B', 2, false, false},
        OverCase{" 40000", 'E', 0, true, true}, OverCase{" 40000", 'M', 0, false, false},
        OverCase{" 40000", 'N', 0, false, false}, OverCase{" 4.500", 'U', 3, false, true},
        OverCase{" 5.000", 'U', 3, true, true}, OverCase{" 4999 ", 'U', 0, false, true},
        OverCase{" 5000 ", 'U', 0, true, true}, OverCase{" 499.9", 'U', 1, false, true},
        OverCase{" 40000", 'U', 0, true, true}, OverCase{"      ", 'B', 0, false, false}));

}  // namespace
}  // namespace ql
