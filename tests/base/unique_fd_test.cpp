#include "base/unique_fd.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <utility>

namespace ql {
namespace {

bool IsOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

// A descriptor of its own on /dev/null; the lowest free number, so a
// descriptor closed just before is handed out again at once.
int OpenNull() { return ::open("/dev/null", O_RDONLY | O_CLOEXEC); }

TEST(UniqueFdTest, ClosesWhatItHoldsWhenItGoes) {
  const int fd = OpenNull();
  ASSERT_GE(fd, 0);
  {
    UniqueFd owner(fd);
    EXPECT_TRUE(owner.Valid());
    EXPECT_EQ(owner.Get(), fd);
  }
  EXPECT_FALSE(IsOpen(fd));
}

TEST(UniqueFdTest, FailedOpenHoldsNothing) {
  UniqueFd owner(::open("/nonexistent/quintaline", O_RDONLY));
  EXPECT_FALSE(owner.Valid());
  EXPECT_EQ(owner.Close(), 0);
}

// The descriptor lives exactly as long as its last owner, and the moved-from
// owner never closes it, also not after the number was handed out again.
TEST(UniqueFdTest, MoveHandsTheDescriptorOnAndOnlyTheLastOwnerCloses) {
  const int fd = OpenNull();
  ASSERT_GE(fd, 0);
  UniqueFd last;
  {
    UniqueFd first(fd);
    UniqueFd second(std::move(first));
    EXPECT_FALSE(first.Valid());
    last = std::move(second);
    EXPECT_FALSE(second.Valid());
  }
  EXPECT_TRUE(IsOpen(fd));
  EXPECT_EQ(last.Get(), fd);
  last.Reset();
  EXPECT_FALSE(IsOpen(fd));
}

TEST(UniqueFdTest, MoveAssignmentClosesTheDescriptorItReplaces) {
  const int replaced = OpenNull();
  const int kept = OpenNull();
  ASSERT_GE(replaced, 0);
  ASSERT_GE(kept, 0);
  UniqueFd owner(replaced);
  owner = UniqueFd(kept);
  EXPECT_FALSE(IsOpen(replaced));
  EXPECT_TRUE(IsOpen(kept));
  UniqueFd& same = owner;
  owner = std::move(same);  // a self-move keeps the descriptor open
  EXPECT_TRUE(IsOpen(kept));
}

// After Close the number may belong to another file at once; the owner must
// not close it a second time when it goes.
TEST(UniqueFdTest, ClosedOnceThoughTheNumberIsReused) {
  UniqueFd owner(OpenNull());
  ASSERT_TRUE(owner.Valid());
  const int number = owner.Get();
  EXPECT_EQ(owner.Close(), 0);
  EXPECT_FALSE(owner.Valid());
  EXPECT_EQ(owner.Close(), 0);

  const int other = OpenNull();
  ASSERT_EQ(other, number) << "the lowest free number was not reused";
  owner.Reset();
  { UniqueFd gone(std::move(owner)); }
  EXPECT_TRUE(IsOpen(other));
  ::close(other);
}

}  // namespace
}  // namespace ql
