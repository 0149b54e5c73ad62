#include "base/list_line.h"
#include "files/reading_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/file_size_limit.h"
#include "support/reading_lines.h"
#include "support/temp_dir.h"

namespace ql {
namespace {

using Strings = std::vector<std::string>;
using test_support::ReadBytes;
using test_support::ReadingLine;
using test_support::WriteBytes;

class ReadingFileTest : public test_support::TempDirTest {
 protected:
  Status Save(const Strings& lines) {
    VectorLineSource source(lines);
    return SaveReadingFile(PathOf("run.rdg"), source);
  }
  Strings Load(const std::string& bytes) {
    WriteBytes(PathOf("in.rdg"), bytes);
    Strings lines = {"untouched"};
    Status status = LoadReadingFile(PathOf("in.rdg"), lines);
    EXPECT_TRUE(status.ok()) << status.reason();
    return lines;
  }
};

TEST_F(ReadingFileTest, ThreeLinesSaveAsThreeRecordsAndLoadWithTheirLineFeeds) {
  const Strings lines = {ReadingLine(" 1.234", " Vdc", "DCV", "10:00:00"),
                         ReadingLine(" OVER ",
                                     "\xB5"
                                     "Adc",
                                     "\xB5"
                                     "A [DC]",
                                     "10:00:01"),
                         ReadingLine("-0.001",
                                     "  \xB0"
                                     "C",
                                     "TEMPERATURE", "10:00:02")};
  ASSERT_TRUE(Save(lines).ok());
  const std::string bytes = ReadBytes(PathOf("run.rdg"));
  ASSERT_EQ(bytes.size(), 204u);
  for (std::size_t r = 0; r < 3; ++r) {
    std::string_view record = std::string_view(bytes).substr(68 * r, 68);
    EXPECT_EQ(record.substr(0, list_line::kLength), lines[r]);
    EXPECT_EQ(record[list_line::kLength], '\n');
    EXPECT_EQ(record.substr(list_line::kLength + 1), std::string(6, '\0'));
  }

  Strings loaded;
  ASSERT_TRUE(LoadReadingFile(PathOf("run.rdg"), loaded).ok());
  ASSERT_EQ(loaded.size(), 3u);
  for (std::size_t r = 0; r < 3; ++r) EXPECT_EQ(loaded[r], lines[r] + "\n");
}

TEST_F(ReadingFileTest, LineReadBackKeepsItsLineFeedWhenSavedAgain) {
  const std::string line = ReadingLine(" 1.234", " Vdc", "DCV") + "\n";
  ASSERT_TRUE(Save({line}).ok());
  EXPECT_EQ(ReadBytes(PathOf("run.rdg")), line + "\n" + std::string(5, '\0'));
  EXPECT_EQ(Load(ReadBytes(PathOf("run.rdg"))), Strings{line + "\n"});
}

TEST_F(ReadingFileTest, RecordNeverRunsPastSixtyEightBytes) {
  struct Row {
    std::string line;
    std::string record;
  };
  const std::string x66(66, 'x'), x67(67, 'x');
  const Row rows[] = {
      {"", "\n" + std::string(67, '\0')},
      {x66, x66 + "\n" + '\0'},
      {x67, x67 + "\n"},
      {x67 + "overflow", x67 + "\n"},
      {std::string("ab\0cd", 5), "ab\n" + std::string(65, '\0')},
  };
  for (const Row& row : rows) {
    std::string record;
    AppendRecord(row.line, record);
    EXPECT_EQ(record, row.record) << row.line;
  }
}

TEST_F(ReadingFileTest, RecordYieldsItsBytesBeforeTheFirstNulAtMost67) {
  const std::string x67(67, 'x');
  // A record without a NUL, one with text after its NUL, then a final
  // partial record without a NUL.
  EXPECT_EQ(
      Load(std::string(68, 'y') + "ab\n" + std::string(1, '\0') + std::string(64, 'z') + "tail"),
      (Strings{std::string(67, 'y'), "ab\n", "tail"}));
  // A final partial record is read up to its first NUL, as a whole one is.
  EXPECT_EQ(Load(x67 + "\n" + "cd\n" + std::string(1, '\0') + "zz"), (Strings{x67, "cd\n"}));
  EXPECT_EQ(Load(""), Strings{});
}

TEST_F(ReadingFileTest, EmptyListSavesAnEmptyFile) {
  ASSERT_TRUE(Save({}).ok());
  EXPECT_EQ(std::filesystem::file_size(PathOf("run.rdg")), 0u);
}

TEST_F(ReadingFileTest, UnreadableFileLeavesTheLinesUntouched) {
  std::filesystem::create_directory(PathOf("folder.rdg"));
  struct Row {
    std::string path;
    Status::Code code;
  };
  const Row rows[] = {{PathOf("missing.rdg"), Status::Code::kNotFound},
                      {PathOf("folder.rdg"), Status::Code::kInvalid}};
  for (const Row& row : rows) {
    Strings lines = {"kept"};
    Status status = LoadReadingFile(row.path, lines);
    EXPECT_EQ(status.code(), row.code) << row.path;
    EXPECT_NE(status.reason().find(row.path), std::string::npos);
    EXPECT_EQ(lines, Strings{"kept"});
  }
}

TEST_F(ReadingFileTest, FileOverTheRecordLimitIsRefusedBeforeReading) {
  // A sparse file: its size says more records than may be held.
  const std::string path = PathOf("huge.rdg");
  WriteBytes(path, "");
  std::filesystem::resize_file(path, (kMaxReadingRecords + 1) * kRecordSize);
  Strings lines = {"kept"};
  EXPECT_EQ(LoadReadingFile(path, lines).code(), Status::Code::kTooLarge);
  EXPECT_EQ(lines, Strings{"kept"});
}

TEST_F(ReadingFileTest, SaveThatFailsReportsItAndKeepsTheOldFile) {
  const std::string old = std::string(68, 'o');
  WriteBytes(PathOf("run.rdg"), old);
  const Strings lines(1000, ReadingLine(" 1.234", " Vdc", "DCV"));
  Status status = Status::Ok();
  {
    test_support::FileSizeLimit limit(10000);
    status = Save(lines);
  }
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(ReadBytes(PathOf("run.rdg")), old);
  EXPECT_EQ(Entries(), Strings{"run.rdg"});

  VectorLineSource source(lines);
  EXPECT_EQ(SaveReadingFile(PathOf("no/folder/run.rdg"), source).code(), Status::Code::kNotFound);
}

}  // namespace
}  // namespace ql
