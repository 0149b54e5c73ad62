// The meter link on a misbehaving line (the in-memory line): noise between
// frames, bursts far larger than every buffer, a long silence, and a meter
// switched off in the middle of a frame and on again. In each, the frames
// that arrive whole are found, nothing that was not sent is taken as a
// frame, the buffers stay within their sizes, every tick does a bounded
// amount of work, and samples stay paced at one per period.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "link/com_qv7300.h"
#include "reliability/meter_stream.h"
#include "support/fake_serial_line.h"

namespace ql {
namespace {

using test_support::AppendNoiseByte;
using test_support::FakeSerialLine;
using test_support::kMeterFrameSize;
using test_support::NumberedFrame;

constexpr int kReload = 8;
constexpr std::size_t kMeterBytesPerTick = 12;  // 2400 baud for 50 ms
constexpr int kMostTriesPerTick = 3;

class LineFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(link.Open(1), 1);
    link.m_nReload = kReload;
  }

  // One tick of the sampling cycle: count down, read, and record what the
  // link did. A due sample is consumed as the view does when it records.
  void Tick() {
    ++ticks;
    const int queuedBefore = line.queuedCalls;
    const std::size_t readBefore = line.bytesRead;
    const std::string frameBefore = link.m_strFrame;
    link.Tick();
    const int result = link.ReadFrame();
    mostQueuedPerTick = std::max(mostQueuedPerTick, line.queuedCalls - queuedBefore);
    mostReadPerTick = std::max(mostReadPerTick, line.bytesRead - readBefore);
    mostCollected = std::max(mostCollected, link.Collected());
    if (link.m_strFrame != frameBefore) taken.push_back(link.m_strFrame);
    if (result == RX_READY && link.SampleDue()) {
      dueTicks.push_back(ticks);
      link.TakeSample();
    }
  }

  // Sends `stream` at the meter's byte rate, a tick per slice, then ticks
  // `after` more times.
  void SendAtMeterRate(const std::string& stream, int after = kReload) {
    for (std::size_t at = 0; at < stream.size(); at += kMeterBytesPerTick) {
      line.Send(stream.substr(at, kMeterBytesPerTick));
      Tick();
    }
    for (int i = 0; i < after; ++i) Tick();
  }

  // Returns true iff due samples came exactly one period apart from the
  // first to the last.
  bool PacedOnePerPeriod() const {
    for (std::size_t i = 1; i < dueTicks.size(); ++i) {
      if (dueTicks[i] - dueTicks[i - 1] != kReload) return false;
    }
    return true;
  }
  // Returns true iff due samples came only at the ends of periods, at most
  // one each; periods without a sample (the meter silent) may lie between.
  bool PacedAtPeriodEnds() const {
    for (std::size_t i = 1; i < dueTicks.size(); ++i) {
      const int apart = dueTicks[i] - dueTicks[i - 1];
      if (apart <= 0 || apart % kReload != 0) return false;
    }
    return true;
  }

  FakeSerialLine line;
  CComQV7300 link{line};
  int ticks = 0;
  std::vector<std::string> taken;  // each new frame the link took, in order
  std::vector<int> dueTicks;       // ticks on which a sample was due
  int mostQueuedPerTick = 0;
  std::size_t mostReadPerTick = 0;
  std::size_t mostCollected = 0;
};

TEST_F(LineFaultsTest, NoiseBetweenFramesLosesNoWholeFrame) {
  // About one byte in five on the line is noise, between the frames.
  std::mt19937 random(7);
  std::string stream;
  std::vector<std::string> sent;
  for (std::uint32_t n = 0; n < 2000; ++n) {
    for (int k = static_cast<int>(random() % 8); k > 0; --k) AppendNoiseByte(stream, random);
    sent.push_back(NumberedFrame(n));
    stream += sent.back();
  }
  const double noiseShare = 1.0 - 14.0 * 2000 / static_cast<double>(stream.size());
  ASSERT_GT(noiseShare, 0.17);
  ASSERT_LT(noiseShare, 0.23);

  SendAtMeterRate(stream);

  EXPECT_EQ(taken, sent);
  EXPECT_TRUE(PacedOnePerPeriod());
  EXPECT_EQ(dueTicks.size(), static_cast<std::size_t>(ticks - 1) / kReload + 1);
  EXPECT_LE(mostQueuedPerTick, kMostTriesPerTick);
  EXPECT_LE(mostCollected, 2 * kMeterFrameSize + kMeterBytesPerTick);
}

TEST_F(LineFaultsTest, BurstFarLargerThanEveryBufferLeavesTheReaderWorking) {
  // The driver queue holds 1024 bytes at a time; 200 kB of noise and then
  // 1000 frames arrive at once, far more than the driver queue, the read
  // area (2048) and the collection buffer (4000) each hold.
  line.queueCap = 1024;
  std::mt19937 random(11);
  std::string burst;
  while (burst.size() < 200'000) AppendNoiseByte(burst, random);
  std::set<std::string> sent;
  for (std::uint32_t n = 0; n < 1000; ++n) {
    sent.insert(NumberedFrame(n));
    burst += NumberedFrame(n);
  }
  line.Send(burst);
  while (line.Pending() > 0) {
    Tick();
    ASSERT_LT(ticks, 1000) << "the burst is drained in bounded time";
  }
  for (int i = 0; i < 40; ++i) Tick();

  EXPECT_LE(mostQueuedPerTick, kMostTriesPerTick);
  EXPECT_LE(mostReadPerTick, kMostTriesPerTick * line.queueCap);
  EXPECT_LE(mostCollected, CComQV7300::kCollectSize);
  EXPECT_FALSE(taken.empty());
  for (const std::string& frame : taken) EXPECT_EQ(sent.count(frame), 1u);
  EXPECT_TRUE(PacedAtPeriodEnds());

  // Afterwards the meter's own pace is followed frame for frame again.
  taken.clear();
  std::string steady;
  std::vector<std::string> later;
  for (std::uint32_t n = 5000; n < 5040; ++n) {
    later.push_back(NumberedFrame(n));
    steady += later.back();
  }
  SendAtMeterRate(steady);
  EXPECT_EQ(taken, later);
}

TEST_F(LineFaultsTest, LongSilenceCostsNothingAndSamplingResumesWithTheMeter) {
  SendAtMeterRate(NumberedFrame(1) + NumberedFrame(2));
  const std::size_t dueBeforeSilence = dueTicks.size();
  const int silenceStart = ticks;
  mostQueuedPerTick = 0;

  // Half an hour without a byte.
  for (int i = 0; i < 36'000; ++i) Tick();

  EXPECT_EQ(link.m_nMissed, CComQV7300::kMissedCap);
  EXPECT_LE(mostQueuedPerTick, kMostTriesPerTick);
  EXPECT_EQ(link.Collected(), 0u);
  // Only the first two silent periods repeat the last frame.
  EXPECT_EQ(dueTicks.size() - dueBeforeSilence, 2u);
  EXPECT_LE(dueTicks.back() - silenceStart, 2 * kReload);

  taken.clear();
  const int resumeTick = ticks + 1;
  SendAtMeterRate(NumberedFrame(3) + NumberedFrame(4) + NumberedFrame(5), 2 * kReload);
  EXPECT_EQ(taken,
            (std::vector<std::string>{NumberedFrame(3), NumberedFrame(4), NumberedFrame(5)}));
  // The first frame restarts sampling at the end of its period.
  ASSERT_GT(dueTicks.size() - dueBeforeSilence, 2u);
  EXPECT_LE(dueTicks[dueBeforeSilence + 2] - resumeTick, kReload);
  EXPECT_TRUE(PacedAtPeriodEnds());
}

TEST_F(LineFaultsTest, MeterSwitchedOffMidFrameAndOnAgainResynchronises) {
  const std::string last = NumberedFrame(10);
  SendAtMeterRate(NumberedFrame(9) + last.substr(0, 9), 3 * kReload);
  EXPECT_EQ(taken, std::vector<std::string>{NumberedFrame(9)});
  EXPECT_EQ(link.Collected(), 9u);

  // Switched on again: it starts with a fresh frame, not the rest of the
  // one it was sending.
  taken.clear();
  std::string fresh;
  std::vector<std::string> sent;
  for (std::uint32_t n = 20; n < 30; ++n) {
    sent.push_back(NumberedFrame(n));
    fresh += sent.back();
  }
  SendAtMeterRate(fresh);
  EXPECT_EQ(taken, sent);
  EXPECT_TRUE(PacedOnePerPeriod());
}

// When the reader falls two frames behind (the program was busy for a few
// hundred milliseconds while the meter kept sending), the backlog cut drops
// the newer bytes but keeps a partial frame; the bytes read next are not
// its continuation, yet together they end in a frame's end marks. Taking
// that as a frame would record a reading the meter never showed.
TEST_F(LineFaultsTest, BacklogCutNeverJoinsTheBytesOfTwoFrames) {
  auto frame = [](std::uint32_t n) { return NumberedFrame(n * 0x11111111u); };
  link.m_nCountdown = 100;  // inside a period: every tick just takes frames
  line.Send(frame(0) + frame(1) + frame(2) + frame(3) + frame(4).substr(0, 5));
  Tick();
  line.Send(frame(4).substr(5) + frame(5) + frame(6));
  for (int i = 0; i < 5; ++i) Tick();
  line.Send(frame(7));
  Tick();

  std::set<std::string> sent;
  for (std::uint32_t n = 0; n <= 7; ++n) sent.insert(frame(n));
  ASSERT_FALSE(taken.empty());
  for (const std::string& f : taken) EXPECT_EQ(sent.count(f), 1u) << ::testing::PrintToString(f);
  EXPECT_EQ(taken.back(), frame(7));
}

}  // namespace
}  // namespace ql
