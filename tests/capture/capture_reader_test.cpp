// Reading a capture back: every read with its time and bytes, and a clear
// refusal, naming what and where, of anything damaged or cut short.

#include "capture/capture_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "capture/capture_format.h"
#include "support/temp_dir.h"

namespace ql {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test_support::ReadBytes;
using test_support::WriteBytes;

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A capture begun at 1.5 s after 1970 with reads of "ab" at 50 ms and
// "cde" at 1 s 50 ms (a delta of two varint bytes).
std::string Sample() {
  std::string text = capture::Header(1'500'000);
  capture::AppendVarint(text, 50'000);
  capture::AppendVarint(text, 2);
  text += "ab";
  capture::AppendVarint(text, 1'000'000);
  capture::AppendVarint(text, 3);
  text += "cde";
  return text;
}

TEST(CaptureReaderTest, ReadsTimesAndBytesOfEveryRead) {
  Capture capture;
  ASSERT_TRUE(ParseCapture(ToBytes(Sample()), capture).ok());
  EXPECT_EQ(capture.startUtcMicros, 1'500'000);
  ASSERT_EQ(capture.reads.size(), 2u);
  EXPECT_EQ(capture.reads[0].atMicros, 50'000u);
  EXPECT_EQ(capture.reads[1].atMicros, 1'050'000u);
  const auto text = [&](const CaptureRead& read) {
    const auto bytes = capture.Bytes(read);
    return std::string(bytes.begin(), bytes.end());
  };
  EXPECT_EQ(text(capture.reads[0]), "ab");
  EXPECT_EQ(text(capture.reads[1]), "cde");
}

TEST(CaptureReaderTest, HeaderAloneIsAnEmptyCaptureAndTheStartMayLieBefore1970) {
  Capture capture;
  ASSERT_TRUE(ParseCapture(ToBytes(capture::Header(-42)), capture).ok());
  EXPECT_EQ(capture.startUtcMicros, -42);
  EXPECT_TRUE(capture.reads.empty());
}

struct DamageCase {
  const char* name;
  std::string bytes;
  const char* reason;  // a part of the reason given
};

std::string WithRead(const std::string& tail) { return capture::Header(0) + tail; }

class CaptureDamageTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(CaptureDamageTest, IsRefusedWholeWithTheReason) {
  Capture capture;
  capture.reads.push_back({});
  const Status status = ParseCapture(ToBytes(GetParam().bytes), capture);
  EXPECT_EQ(status.code(), Status::Code::kInvalid);
  EXPECT_NE(status.reason().find(GetParam().reason), std::string::npos) << status.reason();
  EXPECT_TRUE(capture.reads.empty());
  EXPECT_TRUE(capture.data.empty());
}

INSTANTIATE_TEST_SUITE_P(
    CaptureReader, CaptureDamageTest,
    ::testing::Values(
        DamageCase{"empty", "", "not a capture file"},
        DamageCase{"reading_file", std::string(68, ' '), "not a capture file"},
        DamageCase{"magic_only", "QLCAP", "the header needs 14 bytes, the file has 5"},
        DamageCase{"header_cut", Sample().substr(0, 13), "the header needs 14 bytes, the file has 13"},
        DamageCase{"other_version", "QLCAP" + std::string(1, '\x02') + std::string(8, '\0'),
                   "capture version 2 is not known"},
        DamageCase{"cut_in_bytes", Sample().substr(0, Sample().size() - 1),
                   "read 2 at byte 20: cut short: 3 bytes announced, 2 left"},
        DamageCase{"cut_in_delta", Sample().substr(0, 21), "read 2 at byte 20: the file ends inside a number"},
        DamageCase{"cut_before_count", WithRead("\x05"), "read 1 at byte 14: the file ends inside a number"},
        DamageCase{"no_bytes", WithRead(std::string("\x05\x00", 2)), "read 1 at byte 14: a read of 0 bytes"},
        DamageCase{"too_many_bytes", WithRead("\x05\x81\x80\x04"), "a read of 65537 bytes"},
        DamageCase{"endless_number", WithRead(std::string(11, '\xFF')), "a number runs past 64 bits"},
        DamageCase{"number_past_64_bits", WithRead(std::string(9, '\xFF') + "\x02"),
                   "a number runs past 64 bits"},
        DamageCase{"time_beyond", WithRead(std::string(9, '\xFF') + "\x01\x01x"),
                   "its time lies more than"}),
    [](const auto& tested) { return std::string(tested.param.name); });

// The times are added up read by read: many reads near the limit must not
// wrap around into a small time.
TEST(CaptureReaderTest, TimesAddedUpPastTheLimitAreRefused) {
  std::string text = capture::Header(0);
  for (int i = 0; i < 3; ++i) {
    capture::AppendVarint(text, capture::kMaxTimeMicros / 2);
    capture::AppendVarint(text, 1);
    text += "x";
  }
  Capture capture;
  const Status status = ParseCapture(ToBytes(text), capture);
  EXPECT_NE(status.reason().find("read 3 at byte"), std::string::npos) << status.reason();
}

class CaptureFileTest : public test_support::TempDirTest {};

TEST_F(CaptureFileTest, ReasonsNameTheFileAndOnlyRegularFilesAreRead) {
  Capture capture;
  WriteBytes(PathOf("cut.qlcap"), Sample().substr(0, 21));
  Status status = ReadCaptureFile(PathOf("cut.qlcap"), capture);
  EXPECT_EQ(status.reason().rfind(PathOf("cut.qlcap") + ": read 2 at byte 20", 0), 0u)
      << status.reason();

  status = ReadCaptureFile(PathOf("missing.qlcap"), capture);
  EXPECT_EQ(status.code(), Status::Code::kNotFound);
  EXPECT_NE(status.reason().find("missing.qlcap"), std::string::npos);

  // A FIFO nobody writes to would hold the reader for ever.
  ASSERT_EQ(::mkfifo(PathOf("fifo").c_str(), 0600), 0);
  for (const std::string& path : {PathOf("fifo"), dir_.path().string(), std::string("/dev/null")}) {
    status = ReadCaptureFile(path, capture);
    EXPECT_EQ(status.code(), Status::Code::kInvalid) << path;
    EXPECT_NE(status.reason().find("not a regular file"), std::string::npos) << status.reason();
  }

  WriteBytes(PathOf("good.qlcap"), Sample());
  ASSERT_TRUE(ReadCaptureFile(PathOf("good.qlcap"), capture).ok());
  EXPECT_EQ(capture.reads.size(), 2u);
}

}  // namespace
}  // namespace ql
