// The link's health as shown to a user: counters after real drops, the age
// of the last frame on a steady clock, and modem inputs present or absent.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "link/com_qv7300.h"
#include "link/link_status.h"
#include "support/fake_serial_line.h"

namespace ql {
namespace {

using test_support::FakeSerialLine;
using namespace std::chrono_literals;

std::string Frame() {
  std::string frame;
  for (int high = 0x1; high <= 0xE; ++high) frame.push_back(static_cast<char>(high << 4));
  return frame;
}

class LinkStatusTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(link.Open(1), 1); }

  FakeSerialLine line;
  CComQV7300 link{line};
  FrameAge age;
  FrameAge::Clock::time_point t0{};
};

TEST_F(LinkStatusTest, NothingHeardYetShowsZerosNoFrameAndTheModemInputs) {
  line.carrier = true;
  line.cts = true;
  EXPECT_EQ(LinkStatusLine(ReadLinkStatus(link, age, t0)),
            "received=0 frames=0 skipped=0 cut=0 overflowed=0 last-frame=none cd=on dsr=off "
            "cts=on");
}

TEST_F(LinkStatusTest, CountersAndFrameAgeFollowTheStream) {
  line.hasModemLines = false;  // a pseudo-terminal
  line.Send("\x01\x02\x03" + Frame() + Frame() + Frame());
  link.EndPeriodNow();
  link.ReadFrame();  // takes one frame, skips 3 bytes, cuts the newer backlog
  const LinkStatus status = ReadLinkStatus(link, age, t0 + 1s);
  EXPECT_EQ(status.counters.bytesReceived, 45u);
  EXPECT_EQ(status.counters.framesTaken, 1u);
  EXPECT_EQ(status.counters.bytesSkipped, 3u);
  EXPECT_EQ(status.counters.bytesCut, 14u);

  // The age counts from the tick that saw the frame, not from a later look.
  link.ReadFrame();
  EXPECT_EQ(ReadLinkStatus(link, age, t0 + 1500ms).secondsSinceFrame, 0.0);
  const std::string later = LinkStatusLine(ReadLinkStatus(link, age, t0 + 3700ms));
  EXPECT_EQ(later,
            "received=45 frames=2 skipped=3 cut=14 overflowed=0 last-frame=2.2s cd=n/a dsr=n/a "
            "cts=n/a");
}

TEST_F(LinkStatusTest, ClosedLineHasNoModemInputs) {
  link.Close();
  EXPECT_FALSE(ReadLinkStatus(link, age, t0).modem.has_value());
}

}  // namespace
}  // namespace ql
