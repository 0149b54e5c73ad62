// The settings store on an INI file: values survive a new store on the same
// file (blanks and Latin-1 included), missing and non-numeric values read as
// the fallback, a file that may not be written reports false and keeps its
// values, the file's location follows --settings, then the environment; and
// the device paths of the port names.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "qtsupport/settings_store.h"
#include "support/temp_dir.h"

namespace ql {
namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  QString Path() const { return dir_.filePath(QStringLiteral("sub/Quintaline.ini")); }
  QTemporaryDir dir_;
};

TEST_F(SettingsStoreTest, ValuesSurviveANewStore) {
  {
    SettingsStore store(Path());
    EXPECT_TRUE(store.WriteInt("Sampling Time", "Current", 100));
    EXPECT_TRUE(store.WriteString("Sampling Time", "Use display", "  5 SEC"));
    EXPECT_TRUE(store.WriteString("Notes", "Unit",
                                  "\xB0"
                                  "C \xB5"
                                  "A"));
  }
  SettingsStore store(Path());
  EXPECT_EQ(store.GetInt("Sampling Time", "Current", 20), 100);
  EXPECT_EQ(store.GetString("Sampling Time", "Use display", "  1 SEC"), "  5 SEC");
  EXPECT_EQ(store.GetString("Notes", "Unit", ""),
            "\xB0"
            "C \xB5"
            "A");
}

TEST_F(SettingsStoreTest, MissingOrNonNumericValuesReadAsTheFallback) {
  std::filesystem::create_directories(std::filesystem::path(Path().toStdString()).parent_path());
  std::ofstream(Path().toStdString()) << "[Db]\nRef=loud\n[COMM]\nPort=2x\n[Sampling%20Time]\n"
                                         "Current= 55 \n";
  SettingsStore store(Path());
  EXPECT_EQ(store.GetInt("Db", "Ref", 600), 600);
  EXPECT_EQ(store.GetInt("COMM", "Port", 1), 1);
  EXPECT_EQ(store.GetInt("Sampling Time", "Current", 20), 55);
  EXPECT_EQ(store.GetInt("Nowhere", "Nothing", -7), -7);
  EXPECT_EQ(store.GetString("Nowhere", "Nothing", "dflt"), "dflt");
}

TEST_F(SettingsStoreTest, ReadOnlyFileReportsFalseAndKeepsItsValues) {
  {
    SettingsStore store(Path());
    ASSERT_TRUE(store.WriteInt("Db", "Ref", 600));
  }
  QFile::setPermissions(Path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
  if (QFile(Path()).open(QIODevice::ReadWrite))
    GTEST_SKIP() << "running with write access to all files";
  SettingsStore store(Path());
  EXPECT_FALSE(store.WriteInt("Db", "Ref", 50));
  EXPECT_EQ(SettingsStore(Path()).GetInt("Db", "Ref", 0), 600);
}

TEST_F(SettingsStoreTest, FileThatCannotBeMadeReportsFalse) {
  // A plain file where the settings folder should be: no one can create it.
  std::ofstream(dir_.filePath(QStringLiteral("blocker")).toStdString()) << "x";
  SettingsStore store(dir_.filePath(QStringLiteral("blocker/Quintaline.ini")));
  EXPECT_FALSE(store.WriteInt("Db", "Ref", 50));
  EXPECT_FALSE(store.WriteString("Sampling Time", "Use display", "  5 SEC"));
}

TEST(SettingsPath, CommandLineThenEnvironmentThenConfigFolder) {
  const QByteArray saved = qgetenv("QUINTALINE_SETTINGS");
  qputenv("QUINTALINE_SETTINGS", "/tmp/from-env.ini");
  EXPECT_EQ(SettingsPath(QStringLiteral("/tmp/from-cli.ini")), QStringLiteral("/tmp/from-cli.ini"));
  EXPECT_EQ(SettingsPath(), QStringLiteral("/tmp/from-env.ini"));
  qunsetenv("QUINTALINE_SETTINGS");
  EXPECT_TRUE(SettingsPath().endsWith(QStringLiteral("/Quintaline/Quintaline.ini")));
  if (!saved.isEmpty()) qputenv("QUINTALINE_SETTINGS", saved);
}

TEST_F(SettingsStoreTest, DeviceMapReadsTheCommSectionElseTheDefaults) {
  SettingsStore store(Path());
  ASSERT_TRUE(store.WriteString("COMM", "COM1", "/dev/ttyUSB3"));
  ASSERT_TRUE(store.WriteString("COMM", "TELNET", "/dev/pts/9"));
  const DeviceMap map = StoreDeviceMap(store);
  EXPECT_EQ(map("COM1"), "/dev/ttyUSB3");
  EXPECT_EQ(map("\\\\.\\TELNET"), "/dev/pts/9");
  EXPECT_EQ(map("COM2"), DefaultDevicePath("COM2"));
}

TEST(SettingsFileText, HandEditsSurviveAndNamesAreWrittenAsTheyStand) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("Quintaline.ini")).toStdString();
  std::ofstream(path) << "; written by hand\n[Sampling%20Time]\n# keep me\nCurrent=100\n"
                         "Use%20display=\"  5 SEC\"\n[Mine]\nColour=blue\n";
  SettingsStore store(QString::fromStdString(path));
  EXPECT_EQ(store.GetInt("Sampling Time", "Current", 0), 100);
  EXPECT_EQ(store.GetString("Sampling Time", "Use display", ""), "  5 SEC");
  ASSERT_TRUE(store.WriteString("Sampling Time", "Use display", "  1 SEC"));
  ASSERT_TRUE(store.WriteInt("Db", "Ref", 600));
  EXPECT_EQ(test_support::ReadBytes(path),
            "; written by hand\n[Sampling Time]\n# keep me\nCurrent=100\n"
            "Use display=\"  1 SEC\"\n[Mine]\nColour=blue\n\n[Db]\nRef=600\n");
  SettingsStore again(QString::fromStdString(path));
  EXPECT_EQ(again.GetString("Sampling Time", "Use display", ""), "  1 SEC");
}

// A FIFO is never opened (that would block), a device node never replaced.
TEST(SettingsFileText, PathThatIsNoRegularFileGivesDefaultsAndStaysAsItIs) {
  QTemporaryDir dir;
  const std::string fifo = dir.filePath(QStringLiteral("fifo.ini")).toStdString();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string link = dir.filePath(QStringLiteral("null.ini")).toStdString();
  std::filesystem::create_symlink("/dev/null", link);
  for (const std::string& path : {fifo, link, std::string("/dev/null")}) {
    SettingsStore store(QString::fromStdString(path));
    EXPECT_EQ(store.GetInt("Sampling Time", "Current", 7), 7);
    EXPECT_FALSE(store.WriteInt("Sampling Time", "Current", 10)) << path;
  }
  struct stat info {};
  ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  ASSERT_EQ(::stat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
}

// A regular file whose bytes cannot be read (here the process's own memory,
// unmapped at offset 0): its values are unknown, so nothing may replace it.
TEST(SettingsFileText, FileThatFailsWhileReadGivesDefaultsAndIsNotWritten) {
  SettingsStore store(QStringLiteral("/proc/self/mem"));
  EXPECT_EQ(store.GetInt("Sampling Time", "Current", 7), 7);
  EXPECT_FALSE(store.WriteInt("Sampling Time", "Current", 10));
}

}  // namespace
}  // namespace ql
