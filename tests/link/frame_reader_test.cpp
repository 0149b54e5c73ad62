// The frame reader of the meter link: finding frames in the collected bytes,
// pacing the samples, and staying bounded whatever arrives on the line.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "link/com_qv7300.h"
#include "support/fake_serial_line.h"

namespace ql {
namespace {

using test_support::FakeSerialLine;

// A frame whose low nibbles all carry `tag`, so frames can be told apart.
std::string Frame(std::uint8_t tag) {
  std::string frame;
  for (std::uint8_t high = 0x1; high <= 0xE; ++high) {
    frame.push_back(static_cast<char>((high << 4) | (tag & 0x0F)));
  }
  return frame;
}

// Bytes full of frame marks that never line up as C, D, E.
std::string Junk(std::size_t size) {
  static constexpr char kMarks[] = {'\xE7', '\xD7', '\xC7'};
  std::string junk;
  for (std::size_t i = 0; i < size; ++i) junk.push_back(kMarks[i % 3]);
  return junk;
}

class FrameReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(link.Open(1), 1);
    link.m_nReload = 4;
  }

  // One timer tick of the sampling cycle: count down, then read.
  int Tick() {
    link.Tick();
    return link.ReadFrame();
  }
  // Ticks that stay inside the running period.
  void StartPeriod() { link.RestartPeriod(); }

  FakeSerialLine line;
  CComQV7300 link{line};
};

TEST_F(FrameReaderTest, WholeFrameIsTakenAndLeavesNothingBehind) {
  StartPeriod();
  line.Send(Frame(1));
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.m_strFrame, Frame(1));
  EXPECT_EQ(link.Collected(), 0u);
  EXPECT_EQ(link.m_bFrameSeen, 1);
  EXPECT_EQ(link.m_bSampleDue, 0);  // the period is still running
}

TEST_F(FrameReaderTest, FirstCallOfRunMakesSampleDueAtOnce) {
  line.Send(Frame(2));
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.m_bSampleDue, 1);
  EXPECT_EQ(link.m_strFrame, Frame(2));
  EXPECT_EQ(link.m_nCountdown, link.m_nReload);
  EXPECT_EQ(link.m_bFrameSeen, 0);
}

TEST_F(FrameReaderTest, FirstCallOfRunWithoutFrameStillMakesSampleDue) {
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.m_bSampleDue, 1);
  EXPECT_TRUE(link.m_strFrame.empty());
  EXPECT_EQ(link.m_nMissed, 1);
  EXPECT_EQ(line.queuedCalls, 1);  // a period ending takes one try only
}

TEST_F(FrameReaderTest, RunningPeriodWithoutFrameWaitsAfterThreeTries) {
  StartPeriod();
  EXPECT_EQ(Tick(), RX_WAIT);
  EXPECT_EQ(line.queuedCalls, 3);
  EXPECT_EQ(link.m_bSampleDue, 0);
}

TEST_F(FrameReaderTest, FrameSplitOverTwoCallsWhilePeriodRuns) {
  StartPeriod();
  line.Send(Frame(3).substr(0, 9));
  EXPECT_EQ(Tick(), RX_WAIT);
  line.Send(Frame(3).substr(9));
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.m_strFrame, Frame(3));
  EXPECT_EQ(link.m_bSampleDue, 0);
}

TEST_F(FrameReaderTest, FrameSplitOverTwoCallsWhenPeriodEnds) {
  link.m_strFrame = Frame(9);  // from an earlier run
  line.Send(Frame(3).substr(0, 9));
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.m_bSampleDue, 1);  // repeats the frame held so far
  EXPECT_EQ(link.m_strFrame, Frame(9));
  link.m_bSampleDue = 0;
  line.Send(Frame(3).substr(9));
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.m_strFrame, Frame(3));
  EXPECT_EQ(link.m_bSampleDue, 0);
  EXPECT_EQ(link.m_nMissed, 0);
}

TEST_F(FrameReaderTest, GarbageBeforeFrameIsDroppedWithIt) {
  StartPeriod();
  line.Send("\x01\x02\xC3\xD4" + Frame(4));
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.m_strFrame, Frame(4));
  EXPECT_EQ(link.Collected(), 0u);
}

TEST_F(FrameReaderTest, GarbageWithoutFrameStaysCollected) {
  StartPeriod();
  line.Send(Junk(20));
  EXPECT_EQ(Tick(), RX_WAIT);
  EXPECT_EQ(link.Collected(), 20u);
  EXPECT_TRUE(link.m_strFrame.empty());
}

TEST_F(FrameReaderTest, OlderOfTwoQueuedFramesIsTakenFirst) {
  StartPeriod();
  line.Send(Frame(5) + Frame(6));
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.m_strFrame, Frame(5));
  EXPECT_EQ(link.Collected(), 14u);
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.m_strFrame, Frame(6));
  EXPECT_EQ(link.Collected(), 0u);
}

struct BacklogCase {
  std::size_t left;  // bytes behind the frame taken
  std::size_t kept;
};

class BacklogCutTest : public FrameReaderTest, public ::testing::WithParamInterface<BacklogCase> {};

TEST_P(BacklogCutTest, KeepsOldestFrameWorthOfBacklog) {
  StartPeriod();
  line.Send(Frame(1) + std::string(GetParam().left, '\x00'));
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.Collected(), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(FrameReader, BacklogCutTest,
                         ::testing::Values(BacklogCase{13, 13}, BacklogCase{27, 27},
                                           BacklogCase{28, 14}, BacklogCase{30, 16},
                                           BacklogCase{55, 27}),
                         [](const auto& tested) { return "left" + std::to_string(tested.param.left); });

TEST_F(FrameReaderTest, BacklogCutKeepsTheOldestBytes) {
  StartPeriod();
  line.Send(Frame(1) + Frame(2) + Frame(3) + std::string(2, '\0'));  // 30 bytes behind
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.Collected(), 16u);
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.m_strFrame, Frame(2));
  // The two bytes kept behind it began a frame whose rest the cut dropped:
  // they can only join later bytes into a frame the meter never sent.
  EXPECT_EQ(link.Collected(), 0u);
}

TEST_F(FrameReaderTest, SilentMeterRepeatsTwoSamplesThenStops) {
  line.Send(Frame(7));
  ASSERT_EQ(Tick(), RX_READY);
  ASSERT_EQ(link.m_bSampleDue, 1);
  std::vector<int> dueAtPeriodEnd;
  for (int period = 0; period < 3; ++period) {
    link.m_bSampleDue = 0;  // the sampling cycle recorded the sample
    for (int tick = 0; tick < link.m_nReload; ++tick) Tick();
    dueAtPeriodEnd.push_back(link.m_bSampleDue);
  }
  EXPECT_EQ(dueAtPeriodEnd, (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(link.m_strFrame, Frame(7));

  // The first frame after the silence brings the sample back at the end of
  // its period, not at once.
  Tick();
  line.Send(Frame(8));
  Tick();
  EXPECT_EQ(link.m_strFrame, Frame(8));
  EXPECT_EQ(link.m_bSampleDue, 0);
  Tick();
  Tick();
  EXPECT_EQ(link.m_bSampleDue, 1);
  EXPECT_EQ(link.m_nMissed, 0);
}

TEST_F(FrameReaderTest, MissedPeriodsStopCountingAtThousand) {
  for (int period = 0; period < 1500; ++period) {
    link.m_nCountdown = 0;
    link.ReadFrame();
  }
  EXPECT_EQ(link.m_nMissed, 1000);
  EXPECT_EQ(link.m_bSampleDue, 0);
}

TEST_F(FrameReaderTest, NegativePortIndexReadsNothing) {
  link.m_nPortIndex = -1;
  line.Send(Frame(1));
  EXPECT_EQ(Tick(), RX_NOPORT);
  EXPECT_EQ(line.queuedCalls, 0);
  EXPECT_EQ(line.Pending(), 14u);
  EXPECT_EQ(link.m_nCountdown, -1);
  EXPECT_EQ(link.m_bSampleDue, 0);
  EXPECT_TRUE(link.m_strFrame.empty());
}

// ---- Bytes that never form a frame, and more bytes than one read takes.

TEST_F(FrameReaderTest, OneTryReadsAtMostTheReadArea) {
  line.Send(Junk(5000));
  EXPECT_EQ(Tick(), RX_READY);  // period over: a single try
  EXPECT_EQ(line.bytesRead, CComQV7300::kReadSize);
}

TEST_F(FrameReaderTest, EndlessJunkStaysBounded) {
  line.queueCap = 1024;
  line.Send(Junk(100000));
  StartPeriod();
  while (line.Pending() > 0) {
    link.m_nCountdown = 2;
    ASSERT_EQ(Tick(), RX_WAIT);
    ASSERT_LE(link.Collected(), CComQV7300::kCollectSize);
  }
  EXPECT_TRUE(link.m_strFrame.empty());
  line.Send(Frame(2));
  EXPECT_EQ(Tick(), RX_READY);
  EXPECT_EQ(link.m_strFrame, Frame(2));
}

struct FloodCase {
  std::size_t junk;      // junk bytes before the frame
  std::size_t queueCap;  // most bytes queued at a time; 0: all at once
};

class FloodTest : public FrameReaderTest, public ::testing::WithParamInterface<FloodCase> {};

// Whatever the junk length and however the bytes are queued, the frame behind
// the junk is found, including one whose first bytes were already collected
// when room had to be made.
TEST_P(FloodTest, FrameAfterJunkIsFound) {
  line.queueCap = GetParam().queueCap;
  line.Send(Junk(GetParam().junk) + Frame(6));
  StartPeriod();
  for (int call = 0; call < 20 && link.m_strFrame.empty(); ++call) {
    link.m_nCountdown = 2;
    Tick();
    ASSERT_LE(link.Collected(), CComQV7300::kCollectSize);
  }
  EXPECT_EQ(link.m_strFrame, Frame(6));
  EXPECT_EQ(line.Pending(), 0u);
}

INSTANTIATE_TEST_SUITE_P(FrameReader, FloodTest,
                         ::testing::Values(FloodCase{4000, 0}, FloodCase{3995, 0},
                                           FloodCase{3990, 1000}, FloodCase{3999, 1024},
                                           FloodCase{4000, 1024}, FloodCase{9000, 0},
                                           FloodCase{9000, 777}),
                         [](const auto& tested) {
                           return "junk" + std::to_string(tested.param.junk) + "cap" +
                                  std::to_string(tested.param.queueCap);
                         });

// ---- What was dropped, and why.

struct DropRecord {
  std::size_t bytes;
  DropReason reason;
  bool operator==(const DropRecord&) const = default;
};

class RecordingReporter : public DropReporter {
 public:
  void Dropped(std::size_t bytes, DropReason reason) override { drops.push_back({bytes, reason}); }
  std::vector<DropRecord> drops;
};

struct DropCase {
  const char* name;
  std::string sent;
  int ticks;  // inside one running period
  std::vector<DropRecord> drops;
  std::uint64_t framesTaken;
};

class DropReportTest : public FrameReaderTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DropReportTest, ReportsEveryDroppedByteWithItsReason) {
  RecordingReporter reporter;
  link.SetDropReporter(&reporter);
  line.queueCap = 0;
  line.Send(GetParam().sent);
  for (int tick = 0; tick < GetParam().ticks; ++tick) {
    link.m_nCountdown = 2;
    Tick();
  }
  EXPECT_EQ(reporter.drops, GetParam().drops);

  const LinkCounters& counters = link.Counters();
  std::uint64_t skipped = 0, cut = 0, overflowed = 0;
  for (const DropRecord& drop : reporter.drops) {
    (drop.reason == DropReason::kSearch       ? skipped
     : drop.reason == DropReason::kBacklogCut ? cut
                                              : overflowed) += drop.bytes;
  }
  EXPECT_EQ(counters.bytesReceived, GetParam().sent.size());
  EXPECT_EQ(counters.framesTaken, GetParam().framesTaken);
  EXPECT_EQ(counters.bytesSkipped, skipped);
  EXPECT_EQ(counters.bytesCut, cut);
  EXPECT_EQ(counters.bytesOverflowed, overflowed);
  EXPECT_EQ(counters.bytesReceived, CComQV7300::kFrameSize * counters.framesTaken + skipped + cut +
                                        overflowed + link.Collected());
}

INSTANTIATE_TEST_SUITE_P(
    FrameReader, DropReportTest,
    ::testing::Values(
        DropCase{"WholeFrame", Frame(1), 1, {}, 1},
        DropCase{
            "GarbageBeforeFrame", "\x01\x02\xC3\xD4" + Frame(4), 1, {{4, DropReason::kSearch}}, 1},
        DropCase{"GarbageStaysCollected", Junk(20), 1, {}, 0},
        // 30 bytes behind the first frame: one frame's worth is cut, and the
        // two bytes kept behind the second frame can only join across the cut.
        DropCase{"BacklogCut",
                 Frame(1) + Frame(2) + Frame(3) + std::string(2, '\0'),
                 2,
                 {{14, DropReason::kBacklogCut}, {2, DropReason::kSearch}},
                 2},
        // 2048 junk bytes fill the buffer so the next read does not fit: all
        // but the newest 13 make room.
        DropCase{"Overflow",
                 Junk(4000) + Frame(6),
                 2,
                 {{2035, DropReason::kOverflow}, {1965, DropReason::kSearch}},
                 1}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(FrameReaderObjectsTest, TwoLinksDoNotMixBytes) {
  FakeSerialLine lineA;
  FakeSerialLine lineB;
  CComQV7300 linkA{lineA};
  CComQV7300 linkB{lineB};
  ASSERT_EQ(linkA.Open(1), 1);
  ASSERT_EQ(linkB.Open(2), 1);
  linkA.m_nCountdown = linkB.m_nCountdown = 10;
  lineA.Send(Frame(1).substr(0, 7));
  lineB.Send(Frame(2).substr(7));
  EXPECT_EQ(linkA.ReadFrame(), RX_WAIT);
  EXPECT_EQ(linkB.ReadFrame(), RX_WAIT);
  lineA.Send(Frame(1).substr(7));
  EXPECT_EQ(linkA.ReadFrame(), RX_READY);
  EXPECT_EQ(linkB.ReadFrame(), RX_WAIT);
  EXPECT_EQ(linkA.m_strFrame, Frame(1));
  EXPECT_TRUE(linkB.m_strFrame.empty());
}

}  // namespace
}  // namespace ql
