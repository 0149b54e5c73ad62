// The pseudo-terminals the simulator writes to and the tests' meters use:
// bytes pass unchanged once the slave is raw, closing the master hangs the
// slave up, the master never leaks into child programs, and only a
// non-blocking one returns at once when nobody reads.

#include "link/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace ql {
namespace {

TEST(PseudoTerminalTest, SlaveCarriesTheMastersBytesAndHangsUpWhenTheMasterCloses) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Open(/*nonBlocking=*/false).ok());
  ASSERT_FALSE(pty.SlavePath().empty());
  const int slave = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(slave, 0);
  EXPECT_TRUE(::isatty(slave));
  termios tio{};
  ASSERT_EQ(::tcgetattr(slave, &tio), 0);
  ::cfmakeraw(&tio);
  ASSERT_EQ(::tcsetattr(slave, TCSANOW, &tio), 0);

  const std::string sent("\x01\x0d\x0a\xff\x00\x7f", 6);
  ASSERT_EQ(::write(pty.MasterFd(), sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
  std::string got(sent.size(), '\0');
  ASSERT_EQ(::read(slave, got.data(), got.size()), static_cast<ssize_t>(sent.size()));
  EXPECT_EQ(got, sent);

  pty.CloseMaster();
  EXPECT_EQ(pty.MasterFd(), -1);
  pollfd hangUp{slave, POLLIN, 0};
  ASSERT_EQ(::poll(&hangUp, 1, 5000), 1);
  EXPECT_NE(hangUp.revents & POLLHUP, 0);
  pty.CloseMaster();  // pulled twice: nothing happens
  ::close(slave);
}

TEST(PseudoTerminalTest, MasterIsCloseOnExecAndBlocksOnlyWhenAsked) {
  for (const bool nonBlocking : {false, true}) {
    SCOPED_TRACE(nonBlocking);
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Open(nonBlocking).ok());
    EXPECT_NE(::fcntl(pty.MasterFd(), F_GETFD) & FD_CLOEXEC, 0);
    EXPECT_EQ((::fcntl(pty.MasterFd(), F_GETFL) & O_NONBLOCK) != 0, nonBlocking);
  }
}

}  // namespace
}  // namespace ql
