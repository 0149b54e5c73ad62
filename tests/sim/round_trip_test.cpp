// A reading described in words goes through the simulated meter, the frame
// decoder and the classification, and must come out as the same reading.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "decode/classify.h"
#include "decode/lcd_decoder.h"
#include "link/com_qv7300.h"
#include "sim/frame_sequence.h"
#include "sim/meter_words.h"
#include "support/fake_serial_line.h"

namespace ql {
namespace {

struct RoundTripCase {
  const char* words;
  const char* display;  // as decoded
  const char* unit;     // after classification
  char classLetter;
  double scaled;
  int decimals;
  bool listOver;
  bool panelOver;
};

std::ostream& operator<<(std::ostream& os, const RoundTripCase& c) { return os << c.words; }

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, WordsComeBackAsTheSameReading) {
  const RoundTripCase& c = GetParam();
  bool fahrenheit = false;
  const std::optional<std::string> frame = FrameFor(c.words, &fahrenheit);
  ASSERT_TRUE(frame.has_value());
  ASSERT_EQ(frame->size(), 14u);

  LcdTexts texts;
  ASSERT_TRUE(DecodeLcdFrame(
      *frame, [&] { return fahrenheit; }, texts));
  EXPECT_STREQ(texts.display, c.display);
  const Reading reading = Classify(texts);
  EXPECT_EQ(reading.classLetter, c.classLetter);
  EXPECT_STREQ(texts.unit, c.unit);
  EXPECT_NEAR(reading.scaled, c.scaled, std::abs(c.scaled) * 1e-9);
  EXPECT_EQ(reading.decimals, c.decimals);
  EXPECT_EQ(ListOverRange(texts.display, reading.classLetter, reading.decimals), c.listOver);
  EXPECT_EQ(PanelOverRange(texts.display, reading.classLetter, reading.decimals), c.panelOver);
}

INSTANTIATE_TEST_SUITE_P(
    Words, RoundTrip,
    ::testing::Values(
        RoundTripCase{"DC 12.34 V", " 12.34", " Vdc", 'B', 12.34, 2, false, false},
        RoundTripCase{"DC -1.999 V", "-1.999", " Vdc", 'B', -1.999, 3, false, false},
        RoundTripCase{"DC 0.000 V", " 0.000", " Vdc", 'B', 0.0, 3, false, false},
        RoundTripCase{"AC 1.234 mV", " 1.234", "mVac", 'A', 0.001234, 3, false, false},
        RoundTripCase{"DC 120.0 mA", " 120.0", "mAdc", 'J', 0.12, 1, false, false},
        RoundTripCase{"AC 5.000 A", " 5.000", " Aac", 'K', 5.0, 3, true, true},
        RoundTripCase{"DC 400 uA", "  400 ", "uAdc", 'W', 0.0004, 0, false, false},
        RoundTripCase{"AC 12.5 \xC2\xB5"
                      "A",
                      "  12.5", "uAac", 'X', 0.0000125, 1, false, false},
        RoundTripCase{"DC 12.00 nA", " 12.00", "  nA", 'D', 12e-9, 2, false, false},
        RoundTripCase{"OHM 2.000 MOhm", " 2.000", "MOhm", 'E', 2e6, 3, false, false},
        RoundTripCase{"OHM 12.34 kOhm", " 12.34", "kOhm", 'E', 12340.0, 2, false, false},
        RoundTripCase{"OHM OL", " 40000", " Ohm", 'E', 40000.0, 0, true, true},
        RoundTripCase{"ohm ol MOhm", " 40000", "MOhm", 'E', 4e10, 0, true, true},
        RoundTripCase{"CONT 12.3 Ohm", "  12.3", " Ohm", 'E', 12.3, 1, false, false},
        RoundTripCase{"FREQ 4.500 kHz", " 4.500", "k Hz", 'U', 4500.0, 3, false, true},
        RoundTripCase{"TEMP 23.5 C", "  23.5",
                      "  \xB0"
                      "C",
                      'O', 23.5, 1, false, false},
        RoundTripCase{"TEMP 74.3 F", "  74.3",
                      "  \xB0"
                      "F",
                      'O', 74.3, 1, false, false},
        RoundTripCase{"TEMP -5.0 \xC2\xB0"
                      "C",
                      "  -5.0",
                      "  \xB0"
                      "C",
                      'O', -5.0, 1, false, false},
        RoundTripCase{"DIODE 0.512 V", " 0.512", "   V", 'G', 0.512, 3, false, false},
        RoundTripCase{"DUTY 50.0 %", "  50.0", "   %", 'Y', 50.0, 1, false, false},
        RoundTripCase{"CAP 4.700 nF", " 4.700", "  nF", 'H', 4.7e-9, 3, true, true},
        RoundTripCase{"CAP 10.00 uF", " 10.00", "  uF", 'H', 10e-6, 2, false, false},
        RoundTripCase{"AC 3999 mV", " 3999 ", "mVac", 'A', 3.999, 0, true, true}));

TEST(RoundTrip, TemperatureScaleTravelsOnCarrierDetectOnly) {
  bool fahrenheit = false;
  const std::optional<std::string> f = FrameFor("TEMP 74.3 F", &fahrenheit);
  ASSERT_TRUE(f.has_value());
  EXPECT_TRUE(fahrenheit);
  const std::optional<std::string> c = FrameFor("TEMP 74.3 C", &fahrenheit);
  ASSERT_TRUE(c.has_value());
  EXPECT_FALSE(fahrenheit);
  EXPECT_EQ(*f, *c);
}

TEST(RoundTrip, NoisyMeterThroughTheFrameReader) {
  SequenceOptions options;
  ASSERT_TRUE(ParseSequenceArgs({"--cycle", "DC -1.999 V;TEMP 74.3 F;OHM OL MOhm", "--noise", "0.8",
                                 "--gap-every", "4", "--gap-frames", "1", "--seed", "11"},
                                options)
                  .ok());
  FrameSequence meter;
  ASSERT_TRUE(FrameSequence::Create(options, meter).ok());
  test_support::FakeSerialLine line;
  ASSERT_TRUE(line.Open("COM1").ok());
  CComQV7300 link(line);
  link.m_nReload = 1000;  // one long period: every call looks for a frame only

  const char* expected[][2] = {{"-1.999", " Vdc"},
                               {"  74.3",
                                "  \xB0"
                                "F"},
                               {" 40000", "MOhm"}};
  int frames = 0;
  for (int slot = 0; slot < 60; ++slot) {
    const std::vector<std::uint8_t> bytes = meter.Next();
    line.Send(bytes);
    line.carrier = meter.CarrierDetect();
    link.m_nCountdown = 1000;
    const int result = link.ReadFrame();
    if (bytes.empty()) {
      EXPECT_EQ(result, RX_WAIT);
      continue;
    }
    ASSERT_EQ(result, RX_READY);
    LcdTexts texts;
    ASSERT_TRUE(DecodeLcdFrame(
        link.m_strFrame, [&] { return link.CarrierDetect(); }, texts));
    Classify(texts);
    EXPECT_STREQ(texts.display, expected[frames % 3][0]) << "frame " << frames;
    EXPECT_STREQ(texts.unit, expected[frames % 3][1]) << "frame " << frames;
    ++frames;
  }
  EXPECT_EQ(frames, 48);
}

}  // namespace
}  // namespace ql
