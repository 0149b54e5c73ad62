// The measuring window recording from a meter on a bad line (the in-memory
// line): noise between the frames, a burst far larger than every buffer, a
// long silence and the meter switched off and on again. Every line recorded
// is the meter's reading, one per sampling period while frames come, two
// repeats into a silence and none after, and recording picks up again
// within a period of the meter's return.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/list_line.h"
#include "reliability/meter_stream.h"
#include "reliability/view_on_fakes.h"
#include "sim/meter_words.h"
#include "support/view_probe.h"

namespace ql::test_support {
namespace {

constexpr int kReload = 8;  // the 500 ms setting
constexpr std::size_t kBytesPerTick = 12;

class ViewLineFaultsTest : public ViewOnFakesTest {
 protected:
  void SetUp() override {
    ViewOnFakesTest::SetUp();
    store.Set("Sampling Time", "Current", "10");
    Create();
    createdView->OnRunStart();
    ASSERT_EQ(ViewProbe(*createdView).m_bRecording, 1);
  }

  // Sends `stream` at the meter's byte rate, a tick per slice.
  void SendAtMeterRate(const std::string& stream) {
    for (std::size_t at = 0; at < stream.size(); at += kBytesPerTick) {
      line.Send(stream.substr(at, kBytesPerTick));
      createdView->OnTimer();
    }
  }
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) createdView->OnTimer();
  }

  // Returns true iff every line recorded shows `value` in its value columns.
  bool EveryLineShows(const std::string& value) const {
    for (const std::string& text : host.list) {
      if (text.size() != list_line::kLength || list_line::Text(text, list_line::kValue) != value) {
        return false;
      }
    }
    return true;
  }

  std::mt19937 random{5};
  const std::string frame = *FrameFor("DC 12.34 V");
};

TEST_F(ViewLineFaultsTest, NoisyLineRecordsOneReadingPerPeriod) {
  std::string stream;
  for (int n = 0; n < 400; ++n) {
    for (int k = static_cast<int>(random() % 8); k > 0; --k) AppendNoiseByte(stream, random);
    stream += frame;
  }
  SendAtMeterRate(stream);
  const int ticks = static_cast<int>((stream.size() + kBytesPerTick - 1) / kBytesPerTick);
  // The first whole frame arrives on the second tick, then one per period.
  EXPECT_EQ(host.ListCount(), (ticks - 2) / kReload + 1);
  EXPECT_TRUE(EveryLineShows(" 12.34"));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ViewLineFaultsTest, BurstSilenceAndMeterOffAndOnAgain) {
  // A burst: 100 kB of noise and 500 frames queued at once.
  std::string burst;
  while (burst.size() < 100'000) AppendNoiseByte(burst, random);
  for (int n = 0; n < 500; ++n) burst += frame;
  line.queueCap = 1024;
  line.Send(burst);
  for (int tick = 0; tick < 400 && line.Pending() > 0; ++tick) createdView->OnTimer();
  ASSERT_EQ(line.Pending(), 0u);
  SendAtMeterRate(frame + frame + frame);
  EXPECT_GE(host.ListCount(), 1);
  EXPECT_TRUE(EveryLineShows(" 12.34"));

  // Silence for an hour: the sample of the period that had the last frame,
  // two repeats of it, then nothing.
  const int beforeSilence = host.ListCount();
  Ticks(72'000);
  EXPECT_EQ(host.ListCount(), beforeSilence + 3);

  // Switched off in the middle of a frame, on again later with a new
  // reading of the same range: recorded within a period, nothing made of
  // the cut frame.
  const std::string other = *FrameFor("DC 34.56 V");
  line.Send(frame.substr(0, 6));
  Ticks(3 * kReload);
  const int beforeReturn = host.ListCount();
  std::string back;
  for (int n = 0; n < 10; ++n) back += other;
  SendAtMeterRate(back.substr(0, 2 * kReload * kBytesPerTick));
  ASSERT_GT(host.ListCount(), beforeReturn);
  EXPECT_EQ(list_line::Text(host.list[static_cast<std::size_t>(beforeReturn)], list_line::kValue),
            " 34.56");
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace ql::test_support
