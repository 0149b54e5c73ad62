// The measuring window on a settings file that is damaged, unreadable,
// read-only or not a file at all: the view starts on what can be read (the
// defaults for the rest), runs and stops; a setting changed in the session
// takes effect at once even where it cannot be stored, and a file that
// cannot be written is left exactly as it was.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QString>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "qtsupport/settings_store.h"
#include "reliability/view_on_fakes.h"
#include "run/ids.h"
#include "support/tmpfs_mount.h"
#include "support/view_probe.h"

namespace ql::test_support {
namespace {

constexpr int kDefaultReload = 16;  // 1 s
constexpr int kFiveSecondReload = 86;

class SettingsFileTest : public ViewOnFakesTest {
 protected:
  std::string SettingsPath() const { return PathOf("Quintaline.ini"); }

  // Creates the view on the settings file, runs it to two lines and stops.
  void CreateRunAndStop() {
    settings = std::make_unique<SettingsStore>(QString::fromStdString(SettingsPath()));
    createdView = std::make_unique<CQarnView>(host, *settings, clock, line);
    createdView->OnCreate();
    createdView->OnInitialUpdate();
    ASSERT_TRUE(RecordStoppedRun(2));
    EXPECT_TRUE(host.messages.empty());
  }

  void ExpectDefaults() {
    EXPECT_EQ(host.Pane(pane::kPort), "COM 2");
    EXPECT_EQ(host.Pane(pane::kDbRef), " 600 Ohm");
    EXPECT_EQ(host.Pane(pane::kSampling), "  1 SEC");
    EXPECT_EQ(createdView->Link().m_nReload, kDefaultReload);
  }

  std::unique_ptr<SettingsStore> settings;
};

TEST_F(SettingsFileTest, RandomBytesGiveTheDefaults) {
  std::mt19937 random(3);
  std::string bytes(4096, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  WriteBytes(SettingsPath(), bytes);
  CreateRunAndStop();
  ExpectDefaults();
}

TEST_F(SettingsFileTest, GarbledValuesGiveTheDefaults) {
  WriteBytes(SettingsPath(),
             "[COMM]\nPort=two\n[Db]\nRef=12 Ohm\n=\n[[[\n"
             "[Sampling%20Time]\nCurrent=\nUse%20display=\"  5 SEC\n\xff\xfe\0garbage");
  CreateRunAndStop();
  EXPECT_EQ(host.Pane(pane::kPort), "COM 2");
  EXPECT_EQ(host.Pane(pane::kDbRef), " 600 Ohm");
  EXPECT_EQ(createdView->Link().m_nReload, kDefaultReload);
}

TEST_F(SettingsFileTest, UnreadableFileGivesTheDefaultsAndIsLeftAlone) {
  const std::string contents = "[Sampling%20Time]\nCurrent=100\nUse%20display=\"  5 SEC\"\n";
  WriteBytes(SettingsPath(), contents);
  ::chmod(SettingsPath().c_str(), 0);
  {
    PermissionsEnforced enforced;
    if (!enforced.ok()) GTEST_SKIP() << "cannot set root's file-permission override aside";
    CreateRunAndStop();
    ExpectDefaults();
    // Changed in the session: used at once, though it cannot be stored.
    ASSERT_TRUE(createdView->OnSamplingCommand(cmd::kSampling5s));
    EXPECT_EQ(createdView->Link().m_nReload, kFiveSecondReload);
    EXPECT_EQ(host.Pane(pane::kSampling), "  5 SEC");
    createdView.reset();
    settings.reset();
  }
  struct stat info {};
  ASSERT_EQ(::stat(SettingsPath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0u);
  ::chmod(SettingsPath().c_str(), 0600);
  EXPECT_EQ(ReadBytes(SettingsPath()), contents);
}

TEST_F(SettingsFileTest, ReadOnlyFileIsReadAndLeftAlone) {
  const std::string contents = "[Sampling%20Time]\nCurrent=100\nUse%20display=\"  5 SEC\"\n";
  WriteBytes(SettingsPath(), contents);
  ::chmod(SettingsPath().c_str(), 0444);
  {
    PermissionsEnforced enforced;
    if (!enforced.ok()) GTEST_SKIP() << "cannot set root's file-permission override aside";
    CreateRunAndStop();
    EXPECT_EQ(createdView->Link().m_nReload, kFiveSecondReload);
    EXPECT_EQ(host.Pane(pane::kSampling), "  5 SEC");
    ASSERT_TRUE(createdView->OnSamplingCommand(cmd::kSampling1s));
    EXPECT_EQ(createdView->Link().m_nReload, kDefaultReload);
    ASSERT_TRUE(createdView->OnDbCommand(cmd::kDbRefFirst));
    EXPECT_EQ(ViewProbe(*createdView).m_nDbRefOhm, 2);
    createdView.reset();
    settings.reset();
  }
  EXPECT_EQ(ReadBytes(SettingsPath()), contents);
}

TEST_F(SettingsFileTest, FolderInPlaceOfTheFileGivesTheDefaults) {
  std::filesystem::create_directory(SettingsPath());
  CreateRunAndStop();
  ExpectDefaults();
  ASSERT_TRUE(createdView->OnSamplingCommand(cmd::kSampling5s));
  EXPECT_EQ(createdView->Link().m_nReload, kFiveSecondReload);
  EXPECT_TRUE(std::filesystem::is_directory(SettingsPath()));
}

}  // namespace
}  // namespace ql::test_support
