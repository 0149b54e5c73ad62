#include "files/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <unistd.h>

#include <filesystem>

#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace ql {
namespace {

using test_support::ReadBytes;
using test_support::WriteBytes;

using Strings = std::vector<std::string>;

class AtomicFileTest : public test_support::TempDirTest {};

TEST_F(AtomicFileTest, ReplacesTheTargetAndLeavesNothingElse) {
  const std::string path = PathOf("run.rdg");
  WriteBytes(path, "old contents");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(path, "new").ok());
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_EQ(Entries(), Strings{"run.rdg"});
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(AtomicFileTest, FolderThatDoesNotExistIsReported) {
  Status status = WriteFileAtomically(PathOf("missing/run.rdg"), "new");
  EXPECT_EQ(status.code(), Status::Code::kNotFound);
  EXPECT_NE(status.reason().find("missing/run.rdg"), std::string::npos);
  EXPECT_TRUE(Entries().empty());
}

TEST_F(AtomicFileTest, TargetThatCannotBeReplacedStaysAndTheTemporaryGoes) {
  // A folder with a file in it cannot be replaced by a file.
  const std::string path = PathOf("run.rdg");
  std::filesystem::create_directory(path);
  WriteBytes(path + "/inside", "kept");
  EXPECT_FALSE(WriteFileAtomically(path, "new").ok());
  EXPECT_EQ(ReadBytes(path + "/inside"), "kept");
  EXPECT_EQ(Entries(), Strings{"run.rdg"});
}

TEST_F(AtomicFileTest, WriteErrorKeepsTheOldFile) {
  // A file size limit makes the writes fail part way, as a full disk does.
  const std::string path = PathOf("run.rdg");
  WriteBytes(path, "old contents");
  Status status = Status::Ok();
  {
    test_support::FileSizeLimit limit(4096);
    status = WriteFileAtomically(path, std::string(100000, 'x'));
  }

  EXPECT_EQ(status.code(), Status::Code::kIoError);
  EXPECT_EQ(ReadBytes(path), "old contents");
  EXPECT_EQ(Entries(), Strings{"run.rdg"});
}

TEST_F(AtomicFileTest, AbandonedWriterRemovesItsTemporaryFile) {
  const std::string path = PathOf("run.rdg");
  {
    AtomicFile file;
    ASSERT_TRUE(file.Open(path).ok());
    ASSERT_TRUE(file.Write("never committed").ok());
    EXPECT_EQ(Entries().size(), 1u);
  }
  EXPECT_TRUE(Entries().empty());
}

// Root may write any file, so as root the save runs in a child that has
// become an ordinary user (nobody) in a folder that user may write.
TEST_F(AtomicFileTest, WriteProtectedTargetIsRefusedAsAPlainWriteWouldBe) {
  const std::string path = PathOf("run.rdg");
  WriteBytes(path, "old contents");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  const std::string expected = "cannot replace " + path + ": Permission denied";

  if (::geteuid() != 0) {
    EXPECT_EQ(WriteFileAtomically(path, "new").reason(), expected);
  } else {
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(::chmod(PathOf("").c_str(), 0777), 0);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
      ::_exit(WriteFileAtomically(path, "new").reason() == expected ? 0 : 1);
    }
    int wait = 0;
    ASSERT_EQ(::waitpid(child, &wait, 0), child);
    ASSERT_TRUE(WIFEXITED(wait));
    EXPECT_EQ(WEXITSTATUS(wait), 0) << "1: not refused as expected; 2: cannot become nobody";
  }
  EXPECT_EQ(ReadBytes(path), "old contents");
  EXPECT_EQ(Entries(), Strings{"run.rdg"});
}

TEST_F(AtomicFileTest, NameNearTheLimitIsWrittenAndOneOverItIsRefused) {
  const std::string longest = PathOf(std::string(255, 'n'));
  ASSERT_TRUE(WriteFileAtomically(longest, "new").ok());
  EXPECT_EQ(ReadBytes(longest), "new");
  const Status tooLong = WriteFileAtomically(PathOf(std::string(256, 'n')), "new");
  EXPECT_NE(tooLong.reason().find("File name too long"), std::string::npos) << tooLong.reason();
  EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(AtomicFileTest, DanglingLinkIsFollowedWhenItsFolderExistsElseTheReasonIsGiven) {
  const std::string link = PathOf("run.rdg");
  std::filesystem::create_directory(PathOf("data"));
  std::filesystem::create_symlink("data/new.rdg", link);
  ASSERT_TRUE(WriteFileAtomically(link, "new").ok());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadBytes(PathOf("data/new.rdg")), "new");

  const std::string nowhere = PathOf("nowhere.rdg");
  std::filesystem::create_symlink("missing/new.rdg", nowhere);
  const Status status = WriteFileAtomically(nowhere, "new");
  EXPECT_EQ(status.code(), Status::Code::kNotFound);
  EXPECT_NE(status.reason().find("missing/new.rdg"), std::string::npos) << status.reason();
  EXPECT_TRUE(std::filesystem::is_symlink(nowhere));
}

TEST_F(AtomicFileTest, CheckReplaceableFindsWhatASaveWouldMeetAndLeavesNothing) {
  std::filesystem::create_directory(PathOf("folder"));
  EXPECT_TRUE(CheckReplaceable(PathOf("new.rdg")).ok());
  WriteBytes(PathOf("old.rdg"), "old");
  EXPECT_TRUE(CheckReplaceable(PathOf("old.rdg")).ok());
  for (const std::string& bad : {PathOf("missing/run.rdg"), PathOf("folder"),
                                 std::string("/dev/full"), PathOf(std::string(256, 'n'))}) {
    EXPECT_FALSE(CheckReplaceable(bad).ok()) << bad;
  }
  EXPECT_EQ(ReadBytes(PathOf("old.rdg")), "old");
  EXPECT_EQ(Entries(), (Strings{"folder", "old.rdg"}));
}

}  // namespace
}  // namespace ql
