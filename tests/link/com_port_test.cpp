// The port half of the meter link: which device is opened, the order in
// which the line is set up and released, and what a failure leaves behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/com_qv7300.h"
#include "link/device_map.h"
#include "link/posix_serial_line.h"
#include "support/fake_serial_line.h"

namespace ql {
namespace {

using test_support::FakeSerialLine;
using Calls = std::vector<std::string>;

struct Message {
  std::string text;
  std::string detail;
};

class ComPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link.SetMessageFn([this](std::string_view text, std::string_view detail) {
      messages.push_back({std::string(text), std::string(detail)});
    });
  }

  FakeSerialLine line;
  CComQV7300 link{line};
  std::vector<Message> messages;
};

TEST_F(ComPortTest, OpenPurgesSetsFormatThenRaisesDtrBeforeRts) {
  EXPECT_EQ(link.Open(1), 1);
  EXPECT_EQ(line.calls, (Calls{"open COM1", "purge", "format 2400 8 0 0", "dtr 1", "rts 1"}));
  EXPECT_EQ(link.m_bConnected, 1);
  EXPECT_TRUE(link.LastOpenStatus().ok());
  EXPECT_TRUE(messages.empty());
}

struct DeviceCase {
  int port;
  const char* device;
};

class DeviceNameTest : public ComPortTest, public ::testing::WithParamInterface<DeviceCase> {};

TEST_P(DeviceNameTest, PortNumberChoosesDevice) {
  EXPECT_EQ(link.Open(GetParam().port), 1);
  EXPECT_EQ(link.DeviceName(), GetParam().device);
  EXPECT_EQ(line.openedName, GetParam().device);
}

INSTANTIATE_TEST_SUITE_P(
    ComPort, DeviceNameTest,
    ::testing::Values(DeviceCase{1, "COM1"}, DeviceCase{4, "COM4"}, DeviceCase{0, "COM0"},
                      DeviceCase{5, "\\\\.\\TELNET"}, DeviceCase{255, "\\\\.\\TELNET"},
                      DeviceCase{256, "\\\\.\\TELNET"}, DeviceCase{-3, "COM0"}),
    [](const auto& tested) {
      const int port = tested.param.port;
      return (port < 0 ? "minus" : "") + std::to_string(port < 0 ? -port : port);
    });

struct FailureCase {
  const char* name;
  Status status;
  bool dialoutHint;
};

class OpenFailureTest : public ComPortTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OpenFailureTest, ShowsMessageAndLeavesLineAlone) {
  line.openStatus = GetParam().status;
  EXPECT_EQ(link.Open(2), 0);
  EXPECT_EQ(line.calls, (Calls{"open COM2"}));
  EXPECT_EQ(link.m_bConnected, 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Failed to Open ComPort");
  EXPECT_NE(messages[0].detail.find(GetParam().status.reason()), std::string::npos);
  EXPECT_EQ(messages[0].detail.find("dialout") != std::string::npos, GetParam().dialoutHint);
  EXPECT_EQ(link.LastOpenStatus().code(), GetParam().status.code());
  link.Close();
  EXPECT_EQ(line.calls, (Calls{"open COM2"}));  // nothing to release
}

INSTANTIATE_TEST_SUITE_P(
    ComPort, OpenFailureTest,
    ::testing::Values(
        FailureCase{"absent", Status::NotFound("/dev/ttyUSB0: No such file or directory"), false},
        FailureCase{"busy", Status::Busy("/dev/ttyUSB0: already in use by another program"), false},
        FailureCase{"denied", Status::Denied("/dev/ttyUSB0: Permission denied"), true}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(ComPortTest, RefusedFormatClosesLineWithoutMessage) {
  line.formatAccepted = false;
  EXPECT_EQ(link.Open(1), 0);
  EXPECT_EQ(line.calls,
            (Calls{"open COM1", "purge", "format 2400 8 0 0", "dtr 1", "rts 1", "close"}));
  EXPECT_EQ(link.m_bConnected, 0);
  EXPECT_FALSE(line.IsOpen());
  EXPECT_FALSE(link.LastOpenStatus().ok());
  EXPECT_TRUE(messages.empty());
}

TEST_F(ComPortTest, CloseLowersDtrAndLeavesRtsRaised) {
  ASSERT_EQ(link.Open(1), 1);
  line.ClearCalls();
  EXPECT_EQ(link.Close(), 1);
  EXPECT_EQ(line.calls, (Calls{"dtr 0", "purge", "close"}));
  EXPECT_EQ(line.dtr, false);
  EXPECT_EQ(line.rts, true);
  EXPECT_EQ(link.m_bConnected, 0);
  EXPECT_EQ(link.Close(), 1);
  EXPECT_EQ(line.calls.size(), 3u);  // a closed link leaves the line alone
}

TEST_F(ComPortTest, DestructionClosesTheLine) {
  FakeSerialLine other;
  {
    CComQV7300 scoped{other};
    ASSERT_EQ(scoped.Open(3), 1);
  }
  EXPECT_FALSE(other.IsOpen());
  EXPECT_EQ(other.dtr, false);
  EXPECT_EQ(other.rts, true);
}

TEST_F(ComPortTest, LineWithoutModemLinesStillOpens) {
  line.hasModemLines = false;
  EXPECT_EQ(link.Open(1), 1);
  EXPECT_EQ(link.m_bConnected, 1);
  EXPECT_EQ(link.Close(), 1);
  EXPECT_FALSE(line.IsOpen());
}

TEST_F(ComPortTest, CarrierDetectAsksOnlyAnOpenLine) {
  line.carrier = true;
  EXPECT_FALSE(link.CarrierDetect());
  ASSERT_EQ(link.Open(1), 1);
  EXPECT_TRUE(link.CarrierDetect());
  line.carrier = false;
  EXPECT_FALSE(link.CarrierDetect());
}

TEST_F(ComPortTest, LostLineReadsNothingUntilReopened) {
  ASSERT_EQ(link.Open(1), 1);
  link.m_nCountdown = 8;
  line.lost = true;
  EXPECT_EQ(link.ReadFrame(), RX_WAIT);
  EXPECT_TRUE(link.LineLost());
  EXPECT_EQ(line.queuedCalls, 1);  // not asked again once lost
  EXPECT_EQ(link.ReadFrame(), RX_WAIT);
  EXPECT_EQ(line.queuedCalls, 1);

  link.Close();
  line.lost = false;
  ASSERT_EQ(link.Open(1), 1);
  EXPECT_FALSE(link.LineLost());
  line.Send(std::string("\x11\x21\x31\x41\x51\x61\x71\x81\x91\xA1\xB1\xC1\xD1\xE1"));
  EXPECT_EQ(link.ReadFrame(), RX_READY);
  EXPECT_EQ(link.m_strFrame.size(), 14u);
}

// A frame whose low nibbles all carry `tag`, so frames can be told apart.
std::string TaggedFrame(char tag) {
  std::string frame;
  for (int high = 0x1; high <= 0xE; ++high) frame.push_back(static_cast<char>((high << 4) | tag));
  return frame;
}

class LineBackTest : public ComPortTest {
 protected:
  void SetUp() override {
    ComPortTest::SetUp();
    ASSERT_EQ(link.Open(1), 1);
    link.m_nCountdown = 1000;  // one long period: RX_READY means a frame was taken
  }
  // Loses the line at the next read.
  void Unplug() {
    line.lost = true;
    link.ReadFrame();
    ASSERT_TRUE(link.LineLost());
    line.ClearCalls();
  }
  // Calls TryReopen until it says the line is back, at most `calls` times.
  // Returns the number of calls made.
  int TryUntilBack(int calls) {
    for (int i = 1; i <= calls; ++i) {
      if (link.TryReopen()) return i;
    }
    return calls + 1;
  }
};

TEST_F(LineBackTest, DeadLineIsClosedAtOnceThenTriedQuietlyOnceEveryTwentyTicks) {
  Unplug();
  line.openStatus = Status::NotFound("/dev/serial/by-id/meter: No such file or directory");
  EXPECT_FALSE(link.TryReopen());
  EXPECT_EQ(line.calls, (Calls{"dtr 0", "purge", "close"}));
  line.ClearCalls();
  for (int tick = 2; tick <= 100; ++tick) EXPECT_FALSE(link.TryReopen()) << tick;
  // Ticks 20, 40, 60, 80 and 100 tried; nobody is told of a failed try.
  EXPECT_EQ(line.calls, Calls(5, "reopen COM1"));
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(link.LineLost());
  EXPECT_EQ(link.m_bConnected, 0);

  line.openStatus = Status::Ok();
  line.ClearCalls();
  EXPECT_EQ(TryUntilBack(100), 20);
  EXPECT_EQ(line.calls, (Calls{"reopen COM1", "purge", "format 2400 8 0 0", "dtr 1", "rts 1"}));
  EXPECT_FALSE(link.LineLost());
  EXPECT_EQ(link.m_bConnected, 1);
  EXPECT_FALSE(link.TryReopen());  // a line that is not lost is left alone
  EXPECT_EQ(line.calls.size(), 5u);
}

TEST_F(LineBackTest, LineBackJoinsNoBytesAcrossTheGapAndRepeatsNoOldFrame) {
  const std::string before = TaggedFrame(1);
  line.Send(before);
  ASSERT_EQ(link.ReadFrame(), RX_READY);
  ASSERT_EQ(link.m_strFrame, before);
  // Half a frame arrives, then the adapter is pulled.
  const std::string cut = TaggedFrame(2);
  line.Send(cut.substr(0, 7));
  ASSERT_EQ(link.ReadFrame(), RX_WAIT);
  Unplug();

  ASSERT_LE(TryUntilBack(100), 100);
  EXPECT_TRUE(link.m_strFrame.empty());
  EXPECT_FALSE(link.SampleDue());
  EXPECT_EQ(link.Collected(), 0u);
  // The other half comes first on the new line: alone it is no frame.
  const std::string after = TaggedFrame(3);
  line.Send(cut.substr(7) + after);
  ASSERT_EQ(link.ReadFrame(), RX_READY);
  EXPECT_EQ(link.m_strFrame, after);
  const LinkCounters& c = link.Counters();
  EXPECT_EQ(c.framesTaken, 2u);
  EXPECT_EQ(c.bytesSkipped, 14u);  // both halves of the cut frame
  EXPECT_EQ(c.bytesReceived, 14 * c.framesTaken + c.bytesSkipped + c.bytesCut +
                                 c.bytesOverflowed + link.Collected());
}

TEST_F(LineBackTest, NewOpenStartsTheReopenWaitAfresh) {
  Unplug();
  line.openStatus = Status::NotFound("gone");
  for (int i = 0; i < 15; ++i) link.TryReopen();
  link.Close();
  line.openStatus = Status::Ok();
  line.lost = false;
  ASSERT_EQ(link.Open(1), 1);
  Unplug();
  line.openStatus = Status::NotFound("gone");
  line.ClearCalls();
  for (int i = 0; i < 19; ++i) link.TryReopen();
  EXPECT_EQ(std::count(line.calls.begin(), line.calls.end(), "reopen COM1"), 0);
  link.TryReopen();
  EXPECT_EQ(std::count(line.calls.begin(), line.calls.end(), "reopen COM1"), 1);
}

TEST(ComPortDeviceTest, PortZeroHasNoDevice) {
  PosixSerialLine line{[](const std::string& name) { return DefaultDevicePath(name); }};
  CComQV7300 link{line};
  std::vector<std::string> details;
  link.SetMessageFn([&](std::string_view text, std::string_view detail) {
    EXPECT_EQ(text, "Failed to Open ComPort");
    details.emplace_back(detail);
  });
  EXPECT_EQ(link.Open(0), 0);
  EXPECT_EQ(link.m_bConnected, 0);
  EXPECT_EQ(link.LastOpenStatus().code(), Status::Code::kNotFound);
  ASSERT_EQ(details.size(), 1u);
  EXPECT_NE(details[0].find("COM0"), std::string::npos);
}

}  // namespace
}  // namespace ql
