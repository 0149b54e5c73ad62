// The child-process runner of the CLI tests when the start fails: with room
// for one pipe but not two, nothing is started and no descriptor is kept.

#include "cli/cli_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <vector>

namespace ql::test_support {
namespace {

TEST(CliProcessTest, StartWithoutRoomForBothPipesStartsNothingAndKeepsNoDescriptor) {
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
  rlimit low = old;
  low.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
  // Every descriptor below the limit taken, then exactly two given back.
  std::vector<int> filler;
  for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) filler.push_back(fd);
  ASSERT_GE(filler.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    ::close(filler.back());
    filler.pop_back();
  }

  bool started = true;
  {
    const CliProcess process({"--version"});
    started = process.Started();
  }
  // The first pipe went back when the second could not be made.
  const int first = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int second = ::open("/dev/null", O_RDONLY | O_CLOEXEC);

  for (int fd : {first, second}) {
    if (fd >= 0) ::close(fd);
  }
  for (int fd : filler) ::close(fd);
  ::setrlimit(RLIMIT_NOFILE, &old);
  EXPECT_FALSE(started);
  EXPECT_GE(first, 0);
  EXPECT_GE(second, 0);
}

}  // namespace
}  // namespace ql::test_support
