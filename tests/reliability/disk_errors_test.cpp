// Saving a run where the disk refuses it: a missing folder, a target that is
// a folder, a read-only folder, a read-only file system, a full disk and a
// device that takes no bytes. Each time the user sees "File Save Error!",
// Save stays available, nothing of the view changes, any older file of that
// name is intact and no temporary file is left beside it.

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/reading_file.h"
#include "reliability/view_on_fakes.h"
#include "run/ids.h"
#include "support/tmpfs_mount.h"
#include "support/view_probe.h"

namespace ql::test_support {
namespace {

constexpr int kLines = 5;
const std::string kOlderFile = "an older file that must survive\n";

class DiskErrorsTest : public ViewOnFakesTest {
 protected:
  void SetUp() override {
    ViewOnFakesTest::SetUp();
    ASSERT_TRUE(RecordStoppedRun(kLines));
    ASSERT_EQ(ViewProbe(*createdView).m_bCanSave, 1);
    host.messages.clear();
    paneWritesBefore = host.paneWrites.size();
  }

  // Saves to `target` and checks that it failed and changed nothing.
  void ExpectSaveFailsAndChangesNothing(const std::string& target) {
    host.saveAnswer = target;
    createdView->OnFileSave();
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"File Save Error!"});
    EXPECT_EQ(ViewProbe(*createdView).m_bCanSave, 1);
    EXPECT_EQ(createdView->LineCount(), kLines);
    EXPECT_STREQ(createdView->FileName(), "NONAME");
    EXPECT_EQ(host.paneWrites.size(), paneWritesBefore);
    EXPECT_EQ(host.ListCount(), kLines);
  }

  // Then a save to a good place still works.
  void ExpectSaveElsewhereWorks() {
    host.saveAnswer = PathOf("good.rdg");
    createdView->OnFileSave();
    EXPECT_EQ(ViewProbe(*createdView).m_bCanSave, 0);
    EXPECT_EQ(ReadBytes(PathOf("good.rdg")).size(), kLines * kRecordSize);
  }

  std::size_t paneWritesBefore = 0;
};

TEST_F(DiskErrorsTest, MissingFolder) {
  ExpectSaveFailsAndChangesNothing(PathOf("missing/run.rdg"));
  EXPECT_FALSE(std::filesystem::exists(PathOf("missing")));
  ExpectSaveElsewhereWorks();
}

TEST_F(DiskErrorsTest, TargetThatIsAFolder) {
  std::filesystem::create_directory(PathOf("run.rdg"));
  WriteBytes(PathOf("run.rdg/inside"), kOlderFile);
  ExpectSaveFailsAndChangesNothing(PathOf("run.rdg"));
  EXPECT_TRUE(std::filesystem::is_directory(PathOf("run.rdg")));
  EXPECT_EQ(ReadBytes(PathOf("run.rdg/inside")), kOlderFile);
  EXPECT_EQ(Entries(), std::vector<std::string>{"run.rdg"});
  ExpectSaveElsewhereWorks();
}

TEST_F(DiskErrorsTest, ReadOnlyFolder) {
  const std::string ro = PathOf("ro");
  std::filesystem::create_directory(ro);
  WriteBytes(ro + "/run.rdg", kOlderFile);
  ::chmod(ro.c_str(), 0555);
  {
    PermissionsEnforced enforced;
    if (!enforced.ok()) GTEST_SKIP() << "cannot set root's file-permission override aside";
    ExpectSaveFailsAndChangesNothing(ro + "/run.rdg");
  }
  ::chmod(ro.c_str(), 0755);
  EXPECT_EQ(ReadBytes(ro + "/run.rdg"), kOlderFile);
  EXPECT_EQ(EntriesOf(ro), std::vector<std::string>{"run.rdg"});
  ExpectSaveElsewhereWorks();
}

TEST_F(DiskErrorsTest, ReadOnlyFileSystem) {
  const std::string ro = PathOf("ro");
  std::filesystem::create_directory(ro);
  TmpfsMount mount;
  if (!mount.Mount(ro, 256)) GTEST_SKIP() << "mounting a tmpfs is not permitted here";
  WriteBytes(ro + "/run.rdg", kOlderFile);
  ASSERT_TRUE(mount.MakeReadOnly());
  ExpectSaveFailsAndChangesNothing(ro + "/run.rdg");
  EXPECT_EQ(ReadBytes(ro + "/run.rdg"), kOlderFile);
  EXPECT_EQ(EntriesOf(ro), std::vector<std::string>{"run.rdg"});
  ExpectSaveElsewhereWorks();
}

TEST_F(DiskErrorsTest, FullDisk) {
  const std::string small = PathOf("small");
  std::filesystem::create_directory(small);
  TmpfsMount mount;
  if (!mount.Mount(small, 64)) GTEST_SKIP() << "mounting a tmpfs is not permitted here";
  WriteBytes(small + "/run.rdg", kOlderFile);
  {
    // Fill every block that is left.
    std::ofstream filler(small + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    for (int i = 0; i < 64 && filler.write(block.data(), std::ssize(block)); ++i) {
    }
  }
  ExpectSaveFailsAndChangesNothing(small + "/run.rdg");
  EXPECT_EQ(ReadBytes(small + "/run.rdg"), kOlderFile);
  EXPECT_EQ(EntriesOf(small), (std::vector<std::string>{"filler", "run.rdg"}));
  ExpectSaveElsewhereWorks();
}

// A device that takes no bytes, as /dev/full (character device 1, 7), made
// in the scratch folder so the system's own is never touched. Saving to it
// must fail, and the device must still be there afterwards.
TEST_F(DiskErrorsTest, DeviceThatTakesNoBytes) {
  const std::string device = PathOf("full");
  if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 7)) != 0) {
    GTEST_SKIP() << "making a device node is not permitted here";
  }
  ExpectSaveFailsAndChangesNothing(device);
  struct stat info {};
  ASSERT_EQ(::stat(device.c_str(), &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  EXPECT_EQ(Entries(), std::vector<std::string>{"full"});
}

}  // namespace
}  // namespace ql::test_support
