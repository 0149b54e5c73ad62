// The termios line on real pseudo-terminals: line setup, reading, exclusive
// open within and across processes, and a hang-up.

#include "link/posix_serial_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "base/unique_fd.h"
#include "link/com_qv7300.h"
#include "support/poll_until.h"
#include "support/pty.h"

namespace ql {
namespace {

// A meter on a pseudo-terminal whose slave side, the one the line opens,
// also has `probe_`: a descriptor opened before the line takes the slave
// exclusively, for reading back the terminal settings.
class ProbedPty {
 public:
  ProbedPty() {
    if (meter_.ok()) {
      probe_ =
          UniqueFd(::open(meter_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    }
  }

  bool ok() const { return meter_.ok() && probe_.Valid(); }
  const std::string& slavePath() const { return meter_.SlavePath(); }
  DeviceMap Map() const {
    return [path = meter_.SlavePath()](const std::string&) { return path; };
  }
  termios Settings() const {
    termios tio{};
    ::tcgetattr(probe_.Get(), &tio);
    return tio;
  }
  void SetSettings(const termios& tio) { ::tcsetattr(probe_.Get(), TCSANOW, &tio); }
  bool Write(const std::string& bytes) { return meter_.Send(bytes); }
  void CloseMaster() { meter_.PullCable(); }

 private:
  test_support::Pty meter_;
  UniqueFd probe_;
};

// Asks the line until it reports at least `count` queued bytes or the line is
// lost, for at most the polling deadline. Returns the last answer.
std::optional<std::size_t> WaitQueued(PosixSerialLine& line, std::size_t count) {
  std::optional<std::size_t> queued;
  test_support::PollUntil([&] {
    queued = line.Queued();
    return !queued || *queued >= count;
  });
  return queued;
}

class PosixSerialLineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty.ok()); }
  // Opens the line as the meter link does: open, then the format.
  void OpenRaw() {
    ASSERT_TRUE(line.Open("COM1").ok());
    ASSERT_TRUE(line.SetFormat({}));
  }

  ProbedPty pty;
  PosixSerialLine line{pty.Map()};
};

TEST_F(PosixSerialLineTest, OpenLeavesTheFormatThenSetFormatSetsRaw2400EightNoneOne) {
  termios before = pty.Settings();
  before.c_cflag |= HUPCL;
  before.c_lflag |= ICANON;
  cfsetispeed(&before, B9600);
  cfsetospeed(&before, B9600);
  pty.SetSettings(before);
  before = pty.Settings();
  ASSERT_TRUE(before.c_cflag & HUPCL);

  ASSERT_TRUE(line.Open("COM1").ok());
  EXPECT_EQ(line.DevicePath(), pty.slavePath());
  const termios opened = pty.Settings();
  EXPECT_EQ(cfgetispeed(&opened), B9600);
  EXPECT_EQ(opened.c_cflag, before.c_cflag);
  EXPECT_EQ(opened.c_lflag, before.c_lflag);

  ASSERT_TRUE(line.SetFormat({}));
  const termios tio = pty.Settings();
  EXPECT_EQ(cfgetispeed(&tio), B2400);
  EXPECT_EQ(cfgetospeed(&tio), B2400);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS | HUPCL), 0u);
  EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(tio.c_cc[VMIN], 0);
  EXPECT_EQ(tio.c_cc[VTIME], 0);
}

TEST_F(PosixSerialLineTest, CloseClearsHangUpOnClose) {
  ASSERT_TRUE(line.Open("COM1").ok());
  termios tio = pty.Settings();
  tio.c_cflag |= HUPCL;
  pty.SetSettings(tio);
  line.Close();
  EXPECT_FALSE(line.IsOpen());
  EXPECT_EQ(pty.Settings().c_cflag & HUPCL, 0u);
}

// A terminal used as the port (log --port $(tty)) is left as it was found,
// not raw at 2400 baud without echo; HUPCL stays off so the close keeps
// DTR and RTS where they were put.
TEST_F(PosixSerialLineTest, CloseRestoresTheSettingsFoundAtOpen) {
  termios before = pty.Settings();
  before.c_lflag |= ECHO | ICANON | ISIG;
  cfsetispeed(&before, B9600);
  cfsetospeed(&before, B9600);
  before.c_cflag |= HUPCL;
  pty.SetSettings(before);

  ASSERT_TRUE(line.Open("COM1").ok());
  line.Close();
  const termios after = pty.Settings();
  EXPECT_EQ(cfgetospeed(&after), B9600);
  EXPECT_EQ(cfgetispeed(&after), B9600);
  EXPECT_EQ(after.c_lflag & (ECHO | ICANON | ISIG), static_cast<tcflag_t>(ECHO | ICANON | ISIG));
  EXPECT_EQ(after.c_cflag & HUPCL, 0u);
}

TEST_F(PosixSerialLineTest, SetFormatAppliesWhatTheDeviceTakes) {
  ASSERT_TRUE(line.Open("COM1").ok());
  EXPECT_TRUE(line.SetFormat({9600, 8, 0, 2}));
  termios tio = pty.Settings();
  EXPECT_EQ(cfgetispeed(&tio), B9600);
  EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8 | CSTOPB));
  // A pseudo-terminal keeps 8 bits without parity whatever it is asked: the
  // answer comes from what the device reports back, not from tcsetattr.
  EXPECT_FALSE(line.SetFormat({2400, 7, 2, 0}));
  EXPECT_FALSE(line.SetFormat({1234, 8, 0, 0}));
  EXPECT_FALSE(line.SetFormat({2400, 9, 0, 0}));
  EXPECT_FALSE(line.SetFormat({2400, 8, 3, 0}));
  EXPECT_FALSE(line.SetFormat({2400, 8, 0, 1}));
  EXPECT_TRUE(line.SetFormat({}));
  tio = pty.Settings();
  EXPECT_EQ(cfgetispeed(&tio), B2400);
  EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
}

TEST_F(PosixSerialLineTest, ReadsWhatTheOtherSideWrites) {
  OpenRaw();
  const std::string sent = "\x11\x22\xC3\xD4\xE5\x00\xFF" + std::string(1, '\0');
  ASSERT_TRUE(pty.Write(sent));
  ASSERT_EQ(WaitQueued(line, sent.size()), sent.size());
  std::string got(64, '\0');
  const std::size_t n = line.Read(reinterpret_cast<std::uint8_t*>(got.data()), got.size());
  EXPECT_EQ(got.substr(0, n), sent);
  EXPECT_EQ(line.Queued(), 0u);
  EXPECT_EQ(line.Read(reinterpret_cast<std::uint8_t*>(got.data()), got.size()), 0u);
}

TEST_F(PosixSerialLineTest, PurgeDropsQueuedBytes) {
  OpenRaw();
  ASSERT_TRUE(pty.Write("abcdef"));
  ASSERT_EQ(WaitQueued(line, 6), 6u);
  line.Purge();
  EXPECT_EQ(line.Queued(), 0u);
}

TEST_F(PosixSerialLineTest, PseudoTerminalHasNoModemLines) {
  ASSERT_TRUE(line.Open("COM1").ok());
  EXPECT_FALSE(line.SetDtr(true));
  EXPECT_FALSE(line.SetRts(true));
  EXPECT_FALSE(line.CarrierDetect());
}

TEST_F(PosixSerialLineTest, SecondOpenInThisProcessIsBusyAndLeavesLineAlone) {
  OpenRaw();
  termios tio = pty.Settings();
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
  pty.SetSettings(tio);

  PosixSerialLine second{pty.Map()};
  const Status status = second.Open("COM1");
  EXPECT_EQ(status.code(), Status::Code::kBusy);
  EXPECT_NE(status.reason().find(pty.slavePath()), std::string::npos);
  EXPECT_FALSE(second.IsOpen());
  tio = pty.Settings();
  EXPECT_EQ(cfgetispeed(&tio), B9600);  // the refused opener did not set the line

  ASSERT_TRUE(pty.Write("x"));
  EXPECT_EQ(WaitQueued(line, 1), 1u);  // the first holder still reads
}

TEST_F(PosixSerialLineTest, SecondOpenInAnotherProcessIsBusy) {
  ASSERT_TRUE(line.Open("COM1").ok());
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    PosixSerialLine other{pty.Map()};
    const Status status = other.Open("COM1");
    ::_exit(status.code() == Status::Code::kBusy ? 0 : 1);
  }
  int wstatus = 0;
  ASSERT_EQ(::waitpid(child, &wstatus, 0), child);
  ASSERT_TRUE(WIFEXITED(wstatus));
  EXPECT_EQ(WEXITSTATUS(wstatus), 0);
}

TEST_F(PosixSerialLineTest, ClosedLineCanBeOpenedAgain) {
  ASSERT_TRUE(line.Open("COM1").ok());
  line.Close();
  PosixSerialLine next{pty.Map()};
  EXPECT_TRUE(next.Open("COM1").ok());
}

TEST_F(PosixSerialLineTest, HangUpReportsLineLost) {
  ASSERT_TRUE(line.Open("COM1").ok());
  pty.CloseMaster();
  EXPECT_TRUE(test_support::PollUntil([&] { return !line.Queued().has_value(); }));
  std::uint8_t byte = 0;
  EXPECT_EQ(line.Read(&byte, 1), 0u);
  line.Close();
  EXPECT_FALSE(line.IsOpen());
}

TEST_F(PosixSerialLineTest, MeterLinkNoticesHangUp) {
  CComQV7300 link{line};
  ASSERT_EQ(link.Open(1), 1);
  link.m_nCountdown = 100;
  pty.CloseMaster();
  EXPECT_TRUE(test_support::PollUntil([&] {
    if (link.LineLost()) return true;
    EXPECT_EQ(link.ReadFrame(), RX_WAIT);
    return link.LineLost();
  }));
  EXPECT_EQ(link.Close(), 1);
}

// A stable name for a device, as udev makes under /dev/serial/by-id: a
// symbolic link in a scratch folder, pointed at one pseudo-terminal after
// another.
class StableName {
 public:
  StableName() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ql-name-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
    path_ = (folder_ / "usb-Meter_Cable-if00-port0").string();
  }
  ~StableName() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  const std::string& path() const { return path_; }
  void PointAt(const std::string& device) {
    Remove();
    std::filesystem::create_symlink(device, path_);
  }
  void Remove() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }

 private:
  std::filesystem::path folder_;
  std::string path_;
};

TEST_F(PosixSerialLineTest, ReopenFollowsTheStableNameToTheDeviceThatCameBack) {
  StableName name;
  name.PointAt(pty.slavePath());
  PosixSerialLine byName{[&](const std::string&) { return name.path(); }};
  ASSERT_TRUE(byName.Open("COM2").ok());
  pty.CloseMaster();
  name.Remove();
  EXPECT_FALSE(WaitQueued(byName, 1).has_value());
  byName.Close();

  const Status absent = byName.Reopen();
  EXPECT_EQ(absent.code(), Status::Code::kNotFound);
  EXPECT_NE(absent.reason().find(name.path()), std::string::npos) << absent.reason();
  EXPECT_FALSE(byName.IsOpen());

  ProbedPty back;
  ASSERT_TRUE(back.ok());
  name.PointAt(back.slavePath());
  ASSERT_TRUE(byName.Reopen().ok());
  EXPECT_EQ(byName.DevicePath(), name.path());
  ASSERT_TRUE(byName.SetFormat({}));
  ASSERT_TRUE(back.Write("back"));
  ASSERT_EQ(WaitQueued(byName, 4), std::optional<std::size_t>(4));
  std::string got(4, '\0');
  EXPECT_EQ(byName.Read(reinterpret_cast<std::uint8_t*>(got.data()), got.size()), 4u);
  EXPECT_EQ(got, "back");
  // Taken again as exclusively as by Open.
  PosixSerialLine second{back.Map()};
  EXPECT_EQ(second.Open("COM1").code(), Status::Code::kBusy);
}

TEST_F(PosixSerialLineTest, PseudoTerminalByItsOwnNameIsNeverReopened) {
  ASSERT_TRUE(line.Open("COM1").ok());
  line.Close();
  // Still there, but its number may be another program's line by now.
  const Status status = line.Reopen();
  EXPECT_EQ(status.code(), Status::Code::kInvalid);
  EXPECT_NE(status.reason().find(pty.slavePath()), std::string::npos) << status.reason();
  EXPECT_FALSE(line.IsOpen());
}

TEST(PosixSerialLineReopenTest, NothingOpenedBeforeIsNothingToReopen) {
  PosixSerialLine line{[](const std::string&) { return std::string("/dev/quintaline-no-such-tty"); }};
  EXPECT_EQ(line.Reopen().code(), Status::Code::kNotFound);
  EXPECT_EQ(line.Open("COM1").code(), Status::Code::kNotFound);
  // A failed Open leaves nothing to reopen either.
  EXPECT_EQ(line.Reopen().code(), Status::Code::kNotFound);
  EXPECT_FALSE(line.IsOpen());
}

struct OpenErrorCase {
  const char* name;
  const char* path;
  Status::Code code;
};

class PosixOpenErrorTest : public ::testing::TestWithParam<OpenErrorCase> {};

TEST_P(PosixOpenErrorTest, ReasonNamesTheDevice) {
  const std::string path = GetParam().path;
  PosixSerialLine line{[&](const std::string&) { return path; }};
  const Status status = line.Open("COM2");
  EXPECT_EQ(status.code(), GetParam().code);
  EXPECT_NE(status.reason().find(path.empty() ? "COM2" : path), std::string::npos);
  EXPECT_FALSE(line.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(PosixSerialLine, PosixOpenErrorTest,
                         ::testing::Values(OpenErrorCase{"unmapped", "", Status::Code::kNotFound},
                                           OpenErrorCase{"absent", "/dev/quintaline-no-such-tty",
                                                         Status::Code::kNotFound},
                                           OpenErrorCase{"not_a_terminal", "/dev/null",
                                                         Status::Code::kInvalid}),
                         [](const auto& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace ql
