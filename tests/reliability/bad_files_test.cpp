// Opening files that are not what a reading or graph file should be: empty,
// one byte, cut short, random, binary, very large, graph files with garbage
// in their fields, and names that are no readable file at all. Each gives a
// clear outcome: the lines it holds (drawn and printed without harm), or
// "File Open Error!" with the view left exactly as it was.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "files/graph_file.h"
#include "files/reading_file.h"
#include "graph/display_form.h"
#include "graph/recording_canvas.h"
#include "reliability/view_on_fakes.h"
#include "support/tmpfs_mount.h"
#include "support/view_probe.h"

namespace ql::test_support {
namespace {

constexpr int kLinesBefore = 3;

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// A graph file whose 1024 fields all hold `field`.
std::string GraphFileOf(const std::string& field) {
  std::string bytes(kGraphMagic);
  for (int k = 0; k < 1024; ++k) bytes += field;
  return bytes;
}

class BadFilesTest : public ViewOnFakesTest {
 protected:
  void SetUp() override {
    ViewOnFakesTest::SetUp();
    ASSERT_TRUE(RecordStoppedRun(kLinesBefore));
    host.messages.clear();
  }

  void Open(const std::string& path) {
    host.openAnswer = path;
    createdView->OnFileOpen();
  }

  // Repaints and prints the first pages of whatever the view now holds.
  void DrawAndPrint() {
    createdView->OnDraw();
    const int pages = createdView->OnPreparePrinting();
    RecordingCanvas canvas;
    for (int page = 1; page <= pages && page <= 3; ++page) createdView->OnPrint(canvas, page);
  }

  // Open of `path` failed and left the view as the run left it.
  void ExpectRefusedAndUnchanged() {
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "File Open Error!");
    EXPECT_FALSE(host.messages[0].detail.empty());
    EXPECT_EQ(host.ListCount(), kLinesBefore);
    EXPECT_EQ(createdView->LineCount(), kLinesBefore);
    EXPECT_EQ(createdView->DisplayForm(), FORM_TEXT);
    EXPECT_STREQ(createdView->FileName(), "NONAME");
    EXPECT_EQ(ViewProbe(*createdView).m_bCanSave, 1);
  }
};

struct ReadingCase {
  const char* name;
  std::string bytes;
};

class BadReadingFileTest : public BadFilesTest,
                           public ::testing::WithParamInterface<ReadingCase> {};

// Whatever the bytes, a file that does not begin with "GRA" opens as one
// line per 68 bytes or part of them, none longer than 67 bytes or holding
// a NUL, and shows as the line graph.
TEST_P(BadReadingFileTest, OpensAsOneLinePerRecord) {
  const std::string& bytes = GetParam().bytes;
  const std::string path = PathOf("file.rdg");
  WriteBytes(path, bytes);
  Open(path);

  EXPECT_TRUE(host.messages.empty() ||
              host.messages[0].text == "Data not exist !");  // an empty list, drawn
  const std::size_t records = (bytes.size() + kRecordSize - 1) / kRecordSize;
  ASSERT_EQ(host.list.size(), records);
  for (const std::string& listed : host.list) {
    EXPECT_LE(listed.size(), kMaxRecordText);
    EXPECT_EQ(listed.find('\0'), std::string::npos);
  }
  EXPECT_EQ(createdView->LineCount(), static_cast<int>(records));
  EXPECT_EQ(createdView->DisplayForm(), FORM_LINE);
  EXPECT_STREQ(createdView->FileName(), "file.rdg");
  DrawAndPrint();
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadReadingFileTest,
    ::testing::Values(ReadingCase{"Empty", ""}, ReadingCase{"OneByte", "x"},
                      ReadingCase{"TwoBytesOfTheGraphMagic", "GR"},
                      ReadingCase{"CutInTheMiddleOfARecord",
                                  std::string(2 * kRecordSize, 'A') + std::string(30, 'B')},
                      ReadingCase{"Random", RandomBytes(10'000, 1)},
                      ReadingCase{"BinaryWithNulsAndHighBytes",
                                  std::string("\0\xff\xb5\xb0\x7f\n\r\t", 8) + RandomBytes(700, 2)},
                      ReadingCase{"LinesOfDigitsAndSigns", std::string(40 * kRecordSize, '-') +
                                                               std::string(40 * kRecordSize, '9')}),
    [](const ::testing::TestParamInfo<ReadingCase>& tested) { return tested.param.name; });

struct GraphCase {
  const char* name;
  std::string field;      // every field of the picture
  std::uint8_t expected;  // what each picture byte then holds
};

class GarbageGraphFieldTest : public BadFilesTest,
                              public ::testing::WithParamInterface<GraphCase> {};

TEST_P(GarbageGraphFieldTest, LoadsTheLowBitsOfTheNumberItStartsWith) {
  const std::string path = PathOf("picture.rdg");
  WriteBytes(path, GraphFileOf(GetParam().field));
  Open(path);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(createdView->DisplayForm(), FORM_GRAPHFILE);
  for (std::uint8_t byte : ViewProbe(*createdView).m_GraphBuf) ASSERT_EQ(byte, GetParam().expected);
  DrawAndPrint();
}

INSTANTIATE_TEST_SUITE_P(
    Fields, GarbageGraphFieldTest,
    ::testing::Values(GraphCase{"Letters", "abcd", 0}, GraphCase{"Blanks", "    ", 0},
                      GraphCase{"NulBytes", std::string(4, '\0'), 0},
                      GraphCase{"NumberThenLetters", "12ab", 12}, GraphCase{"MinusOnly", "   -", 0},
                      GraphCase{"Negative", "-999", 25}, GraphCase{"TooLarge", "9999", 15},
                      GraphCase{"Plus", "  +7", 7}, GraphCase{"HighBytes", "\xff\xfe\xb5\xb0", 0}),
    [](const ::testing::TestParamInfo<GraphCase>& tested) { return tested.param.name; });

TEST_F(BadFilesTest, GraphFileCutShortIsRefused) {
  const std::string path = PathOf("cut.rdg");
  for (std::size_t size : {std::size_t{3}, std::size_t{16}, kGraphFileSize - 1}) {
    host.messages.clear();
    WriteBytes(path, GraphFileOf("   1").substr(0, size));
    Open(path);
    ExpectRefusedAndUnchanged();
  }
}

TEST_F(BadFilesTest, VeryLargeFileIsRefusedBeforeAnythingIsRead) {
  // A sparse file just over the most records a reading file may hold: it
  // takes no room on the disk, and reading it would need gigabytes.
  const std::string path = PathOf("huge.rdg");
  WriteBytes(path, "");
  const auto size = static_cast<off_t>((kMaxReadingRecords + 1) * kRecordSize);
  ASSERT_EQ(::truncate(path.c_str(), size), 0);
  Open(path);
  ExpectRefusedAndUnchanged();
}

TEST_F(BadFilesTest, NamesThatAreNoReadableFileAreRefused) {
  std::filesystem::create_directory(PathOf("folder.rdg"));
  Open(PathOf("folder.rdg"));
  ExpectRefusedAndUnchanged();

  host.messages.clear();
  Open(PathOf("missing.rdg"));
  ExpectRefusedAndUnchanged();

  host.messages.clear();
  const std::string locked = PathOf("locked.rdg");
  WriteBytes(locked, std::string(kRecordSize, 'A'));
  ::chmod(locked.c_str(), 0);
  PermissionsEnforced enforced;
  if (!enforced.ok()) GTEST_SKIP() << "cannot set root's file-permission override aside";
  Open(locked);
  ExpectRefusedAndUnchanged();
}

}  // namespace
}  // namespace ql::test_support
