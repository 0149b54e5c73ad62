#include "sim/frame_sequence.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "decode/lcd_decoder.h"
#include "sim/sequence_options.h"

namespace ql {
namespace {

FrameSequence Make(const std::vector<std::string>& args) {
  SequenceOptions options;
  const Status parsed = ParseSequenceArgs(args, options);
  EXPECT_TRUE(parsed.ok()) << parsed.reason();
  FrameSequence sequence;
  const Status made = FrameSequence::Create(options, sequence);
  EXPECT_TRUE(made.ok()) << made.reason();
  return sequence;
}

// The display text of the frame that ends a slot; "" for a silent slot.
std::string Display(const std::vector<std::uint8_t>& slot) {
  if (slot.empty()) return "";
  EXPECT_GE(slot.size(), 14u);
  const std::string frame(slot.end() - 14, slot.end());
  LcdTexts texts;
  EXPECT_TRUE(DecodeLcdFrame(frame, {}, texts));
  return texts.display;
}

std::vector<std::string> Displays(FrameSequence& sequence, int slots) {
  std::vector<std::string> out;
  for (int i = 0; i < slots; ++i) out.push_back(Display(sequence.Next()));
  return out;
}

using Texts = std::vector<std::string>;

TEST(FrameSequence, FixedReadingRepeats) {
  FrameSequence s = Make({"--reading", "DC 12.34 V"});
  EXPECT_EQ(Displays(s, 3), (Texts{" 12.34", " 12.34", " 12.34"}));
}

TEST(FrameSequence, RampIsASawtoothWithBothEnds) {
  FrameSequence s = Make({"--ramp", "DC 0.000 V", "DC 3.000 V", "--steps", "4"});
  EXPECT_EQ(Displays(s, 5), (Texts{" 0.000", " 1.000", " 2.000", " 3.000", " 0.000"}));
}

TEST(FrameSequence, RampCrossesZeroWithDarkLeadingDigits) {
  FrameSequence s = Make({"--ramp", "DC -1.00 V", "DC 1.00 V", "--steps", "5"});
  EXPECT_EQ(Displays(s, 5), (Texts{" -1.00", " -0.50", "  0.00", "  0.50", "  1.00"}));
}

TEST(FrameSequence, WalkStaysWithinItsEndsInBoundedSteps) {
  FrameSequence s = Make({"--walk", "DC 1.000 V", "DC 2.000 V", "--steps", "50", "--seed", "9"});
  const Texts texts = Displays(s, 400);
  EXPECT_EQ(texts.front(), " 1.000");
  double previous = 1.0;
  bool moved = false;
  for (const std::string& text : texts) {
    const double value = std::atof(text.c_str());
    EXPECT_GE(value, 1.0);
    EXPECT_LE(value, 2.0);
    EXPECT_LE(std::abs(value - previous), 0.0205) << text;
    moved = moved || value != previous;
    previous = value;
  }
  EXPECT_TRUE(moved);
}

TEST(FrameSequence, SameSeedSameBytesOtherSeedOtherBytes) {
  const std::vector<std::string> args = {"--walk", "OHM 0.00 kOhm", "OHM 39.99 kOhm", "--noise",
                                         "0.3"};
  auto run = [&](const char* seed) {
    std::vector<std::string> withSeed = args;
    withSeed.insert(withSeed.end(), {"--seed", seed});
    FrameSequence s = Make(withSeed);
    std::vector<std::uint8_t> all;
    for (int i = 0; i < 50; ++i) {
      const std::vector<std::uint8_t> slot = s.Next();
      all.insert(all.end(), slot.begin(), slot.end());
    }
    return all;
  };
  EXPECT_EQ(run("4"), run("4"));
  EXPECT_NE(run("4"), run("5"));
}

TEST(FrameSequence, CycleWithHoldSendsEachReadingInRow) {
  FrameSequence s = Make({"--cycle", "DC 1.000 V; OHM 12.34 kOhm ;", "--hold", "2"});
  EXPECT_EQ(Displays(s, 5), (Texts{" 1.000", " 1.000", " 12.34", " 12.34", " 1.000"}));
}

TEST(FrameSequence, OverloadEveryNthFrame) {
  FrameSequence s = Make({"--reading", "OHM 1.000 MOhm", "--overload-every", "3"});
  EXPECT_EQ(Displays(s, 6), (Texts{" 1.000", " 1.000", " 40000", " 1.000", " 1.000", " 40000"}));
}

TEST(FrameSequence, GapsAreSilentSlots) {
  FrameSequence s = Make({"--reading", "DC 1.000 V", "--gap-every", "2", "--gap-frames", "3"});
  EXPECT_EQ(Displays(s, 7), (Texts{" 1.000", " 1.000", "", "", "", " 1.000", " 1.000"}));
}

TEST(FrameSequence, CarrierDetectFollowsFahrenheitFrames) {
  FrameSequence s =
      Make({"--cycle", "TEMP 74.3 F;TEMP 20.0 C", "--gap-every", "1", "--gap-frames", "1"});
  s.Next();
  EXPECT_TRUE(s.CarrierDetect());
  EXPECT_TRUE(s.Next().empty());
  EXPECT_TRUE(s.CarrierDetect());  // a silent meter keeps its line as it was
  s.Next();
  EXPECT_FALSE(s.CarrierDetect());
}

TEST(FrameSequence, NoiseComesBeforeIntactFramesAtTheGivenRatio) {
  FrameSequence clean = Make({"--reading", "AC 1.234 mV"});
  const std::vector<std::uint8_t> frame = clean.Next();
  FrameSequence s = Make({"--reading", "AC 1.234 mV", "--noise", "0.5", "--seed", "3"});
  std::size_t garbage = 0;
  const int slots = 2000;
  for (int i = 0; i < slots; ++i) {
    const std::vector<std::uint8_t> slot = s.Next();
    ASSERT_GE(slot.size(), frame.size());
    const std::size_t extra = slot.size() - frame.size();
    ASSERT_TRUE(std::equal(frame.begin(), frame.end(), slot.begin() + static_cast<long>(extra)));
    for (std::size_t k = 0; k < extra; ++k) ASSERT_NE(slot[k] & 0xF0, 0xE0);
    garbage += extra;
  }
  const double ratio = static_cast<double>(garbage) / (14.0 * slots);
  EXPECT_NEAR(ratio, 0.5, 0.05);
}

TEST(FrameSequence, HexFramesGoOutAsGivenInTurn) {
  FrameSequence s = Make({"--hex", "14 20 35 45 5B 69 7F 82 97 A0 B0 C0 D4 E0; ff00"});
  EXPECT_EQ(Display(s.Next()), " 12.34");
  EXPECT_EQ(s.Next(), (std::vector<std::uint8_t>{0xFF, 0x00}));
  EXPECT_EQ(Display(s.Next()), " 12.34");
}

TEST(FrameSequence, DefaultSequenceIsSilent) {
  FrameSequence s;
  EXPECT_TRUE(s.Next().empty());
  EXPECT_FALSE(s.CarrierDetect());
}

struct BadOptions {
  std::vector<std::string> args;
  const char* reason;
};

class FrameSequenceErrors : public ::testing::TestWithParam<BadOptions> {};

TEST_P(FrameSequenceErrors, CreateSaysWhy) {
  SequenceOptions options;
  Status status = ParseSequenceArgs(GetParam().args, options);
  FrameSequence sequence;
  if (status.ok()) status = FrameSequence::Create(options, sequence);
  EXPECT_EQ(status.code(), Status::Code::kInvalid);
  EXPECT_EQ(status.reason(), GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Options, FrameSequenceErrors,
    ::testing::Values(
        BadOptions{{}, "no source: give --reading, --ramp, --walk, --cycle or --hex"},
        BadOptions{{"--reading", "DC 1 V", "--hex", "00"},
                   "--hex: only one of --reading, --ramp, --walk, --cycle and --hex"},
        BadOptions{{"--ramp", "DC 1.000 V"}, "--ramp needs two values"},
        BadOptions{{"--reading", "DC 1 V", "--steps", "ten"},
                   "--steps needs a whole number, not \"ten\""},
        BadOptions{{"--reading", "DC 1 V", "--noise", "0,5"},
                   "--noise needs a number, not \"0,5\""},
        BadOptions{{"--reading", "DC 1 V", "--frames", "3"}, "unknown option \"--frames\""},
        BadOptions{{"--reading", "DC 12.345 V"},
                   "reading \"DC 12.345 V\": \"12.345\" has more than four digits"},
        BadOptions{{"--ramp", "DC 1.000 V", "DC 1.000 A"},
                   "the ends of a ramp or walk need the same function and unit"},
        BadOptions{{"--ramp", "DC 1.000 V", "DC 3.00 V"},
                   "the ends of a ramp or walk need the same number of decimals"},
        BadOptions{{"--walk", "OHM OL", "OHM 1.000 Ohm"},
                   "the ends of a ramp or walk need numbers"},
        BadOptions{{"--ramp", "DC 1.000 V", "DC 3.000 V", "--steps", "1"},
                   "--steps must be from 2 to 1000000"},
        BadOptions{{"--reading", "DC 1 V", "--hold", "0"}, "--hold must be from 1 to 1000000"},
        BadOptions{{"--reading", "DC 1 V", "--noise", "11"}, "--noise must be from 0 to 10"},
        BadOptions{{"--hex", "1A2"}, "hex \"1A2\": odd number of hex digits"},
        BadOptions{{"--hex", "1X"}, "hex \"1X\": 'X' is not a hex digit"},
        BadOptions{{"--hex", "00", "--overload-every", "2"},
                   "--overload-every needs readings, not raw bytes"}));

TEST(SequenceArgs, UnknownWordsGoToRestInOrder) {
  SequenceOptions options;
  std::vector<std::string> rest;
  ASSERT_TRUE(ParseSequenceArgs({"/dev/pts/3", "--reading", "DC 1 V", "--rate", "4", "--seed", "7"},
                                options, &rest)
                  .ok());
  EXPECT_EQ(rest, (std::vector<std::string>{"/dev/pts/3", "--rate", "4"}));
  EXPECT_EQ(options.source, SequenceOptions::Source::kReading);
  EXPECT_EQ(options.readings, (std::vector<std::string>{"DC 1 V"}));
  EXPECT_EQ(options.seed, 7u);
}

}  // namespace
}  // namespace ql
