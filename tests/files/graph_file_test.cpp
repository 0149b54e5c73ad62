#include "files/graph_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace ql {
namespace {

using test_support::ReadBytes;
using test_support::WriteBytes;

class GraphFileTest : public test_support::TempDirTest {};

// A graph file whose fields are given as text, after the magic.
std::string GraphFileWith(const std::string& fields) {
  std::string bytes = std::string(kGraphMagic) + fields;
  bytes.resize(kGraphFileSize, ' ');
  return bytes;
}

TEST_F(GraphFileTest, SavesMagicAndFourCharacterFieldsAndLoadsThemBack) {
  GraphPicture picture{};
  for (std::size_t k = 0; k < picture.size(); ++k) picture[k] = static_cast<std::uint8_t>(k * 7);
  picture[0] = 0;
  picture[1] = 255;
  const std::string path = PathOf("picture.rdg");
  ASSERT_TRUE(SaveGraphFile(path, picture).ok());
  const std::string bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 4112u);
  EXPECT_EQ(bytes.substr(0, 24), "GRAPH*1QKDT530.0   0 255");
  EXPECT_EQ(bytes.substr(16 + 4 * 1023), " 249");  // 1023 * 7 mod 256

  GraphPicture loaded{};
  ASSERT_TRUE(LoadGraphFile(path, loaded).ok());
  EXPECT_EQ(loaded, picture);
}

TEST_F(GraphFileTest, FieldKeepsTheLowEightBitsOfItsNumber) {
  struct Row {
    std::string field;
    int value;
  };
  const Row rows[] = {
      {"   7", 7}, {"  -1", 255}, {"1234", 210}, {" 255", 255}, {"-999", 25},  {"    ", 0},
      {"abcd", 0}, {"  - ", 0},   {" 12x", 12},  {"+ 12", 0},   {"\t 42", 42}, {"  +3", 3},
  };
  for (const Row& row : rows) EXPECT_EQ(ParseGraphField(row.field), row.value) << row.field;

  const std::string path = PathOf("picture.rdg");
  WriteBytes(path, GraphFileWith("  -1   71234    "));
  GraphPicture picture;
  picture.fill(99);
  ASSERT_TRUE(LoadGraphFile(path, picture).ok());
  EXPECT_EQ(picture[0], 255);
  EXPECT_EQ(picture[1], 7);
  EXPECT_EQ(picture[2], 210);
  EXPECT_EQ(picture[3], 0);
  EXPECT_EQ(picture[1023], 0);
}

TEST_F(GraphFileTest, ShortFileIsRefusedAndLongerOneReadToItsSize) {
  const std::string path = PathOf("picture.rdg");
  GraphPicture picture;
  picture.fill(99);
  WriteBytes(path, GraphFileWith("   1").substr(0, kGraphFileSize - 1));
  Status status = LoadGraphFile(path, picture);
  EXPECT_EQ(status.code(), Status::Code::kInvalid);
  EXPECT_NE(status.reason().find("4111 of 4112"), std::string::npos) << status.reason();
  EXPECT_EQ(picture[0], 99);

  WriteBytes(path, GraphFileWith("   1") + "  -1 and more");
  ASSERT_TRUE(LoadGraphFile(path, picture).ok());
  EXPECT_EQ(picture[0], 1);
  EXPECT_EQ(picture[1023], 0);
}

TEST_F(GraphFileTest, UnreadableFileLeavesThePictureUntouched) {
  std::filesystem::create_directory(PathOf("folder.rdg"));
  for (const std::string& path : {PathOf("missing.rdg"), PathOf("folder.rdg")}) {
    GraphPicture picture;
    picture.fill(99);
    EXPECT_FALSE(LoadGraphFile(path, picture).ok()) << path;
    EXPECT_EQ(picture[5], 99);
  }
}

TEST_F(GraphFileTest, KindIsToldByTheFirstThreeBytes) {
  struct Row {
    std::string bytes;
    DataFileKind kind;
  };
  const Row rows[] = {
      {GraphFileWith(""), DataFileKind::kGraph},
      {"GRA", DataFileKind::kGraph},
      {"GRAVEL", DataFileKind::kGraph},
      {"GR", DataFileKind::kReading},
      {"", DataFileKind::kReading},
      {" GRAPH", DataFileKind::kReading},
      {"gra", DataFileKind::kReading},
  };
  const std::string path = PathOf("data.rdg");
  for (const Row& row : rows) {
    WriteBytes(path, row.bytes);
    DataFileKind kind =
        row.kind == DataFileKind::kGraph ? DataFileKind::kReading : DataFileKind::kGraph;
    ASSERT_TRUE(SniffDataFile(path, kind).ok());
    EXPECT_EQ(kind, row.kind) << row.bytes;
  }

  std::filesystem::create_directory(PathOf("folder.rdg"));
  for (const std::string& unreadable : {PathOf("missing.rdg"), PathOf("folder.rdg")}) {
    DataFileKind kind = DataFileKind::kGraph;
    EXPECT_FALSE(SniffDataFile(unreadable, kind).ok());
    EXPECT_EQ(kind, DataFileKind::kGraph);
  }
}

}  // namespace
}  // namespace ql
