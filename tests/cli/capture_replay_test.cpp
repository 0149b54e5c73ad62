// Capture and replay on the command line: a run recorded with log --raw and
// played back by simulate --replay into a second log gives the same list and
// the same reading file, times aside; damaged captures are refused; a disk
// that fails under a capture is told of once while the run goes on; and a
// log with --reconnect goes on when its device comes back.

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "base/list_line.h"
#include "capture/capture_format.h"
#include "cli/cli_fixture.h"
#include "support/tmpfs_mount.h"

namespace ql::test_support {
namespace {

constexpr std::size_t kRecordSize = 68;

// `text` with the time of every list line in it blanked: whole lines of
// stdout, or the records of a reading file.
std::string WithoutTimes(std::string text, std::size_t stride) {
  for (std::size_t at = 0; at + list_line::kTime.End() <= text.size(); at += stride) {
    text.replace(at + list_line::kTime.first, list_line::kTime.width,
                 std::string(list_line::kTime.width, '-'));
  }
  return text;
}

std::string LinesWithoutTimes(const std::string& out) {
  std::string text;
  for (const std::string& line : Lines(out)) text += WithoutTimes(line, line.size() + 1) + "\n";
  return text;
}

class CaptureReplay : public CliTest {};

TEST_F(CaptureReplay, ReplayedCaptureGivesTheSameListAndReadingFile) {
  const std::vector<std::string> logArgs{"log", "--sampling", "500ms", "--samples", "12"};
  CliResult first;
  {
    // Readings that change, with garbage between the frames, so that the
    // search, the drops and the pieces of each read all matter. Each reading
    // lasts four sampling periods: a machine too busy to keep the tick's
    // pace for a moment rarely meets a change.
    Simulator meter({"--cycle", "DC 1.000 V;DC 1.500 V;DC 2.000 V", "--hold", "40", "--noise",
                     "0.3", "--seed", "7"});
    ASSERT_FALSE(meter.Pty().empty());
    std::vector<std::string> args = logArgs;
    args.insert(args.end(), {"--port", meter.Pty(), "--raw", PathOf("run.qlcap"), "--save",
                             PathOf("first.rdg"), "--settings", PathOf("first.ini")});
    first = RunCli(args);
  }
  ASSERT_EQ(first.exitCode, 0) << first.err;
  ASSERT_EQ(Lines(first.out).size(), 12u);

  CliProcess replay({"simulate", "--pty", "--replay", PathOf("run.qlcap")});
  const std::string pty = replay.ReadLine(std::chrono::seconds(10));
  ASSERT_FALSE(pty.empty());
  std::vector<std::string> args = logArgs;
  args.insert(args.end(), {"--port", pty, "--save", PathOf("second.rdg"), "--settings",
                           PathOf("second.ini")});
  const CliResult second = RunCli(args);
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(LinesWithoutTimes(second.out), LinesWithoutTimes(first.out));
  const std::string firstFile = ReadBytes(PathOf("first.rdg"));
  EXPECT_EQ(firstFile.size() % kRecordSize, 0u);
  EXPECT_GT(firstFile.size(), 0u);
  EXPECT_EQ(WithoutTimes(ReadBytes(PathOf("second.rdg")), kRecordSize),
            WithoutTimes(firstFile, kRecordSize));
  // Played whole, the line stays open until the replay is stopped.
  EXPECT_EQ(replay.ReadLine(std::chrono::seconds(10)).rfind("replayed ", 0), 0u);
  const CliResult ended = replay.Finish(SIGTERM, std::chrono::seconds(5));
  EXPECT_EQ(ended.exitCode, 0) << ended.err;
}

// Every byte of every read reaches a device in order, and --speed makes a
// capture of ten seconds play in a fraction of one.
TEST_F(CaptureReplay, ReplayToADeviceWritesEveryByteInOrder) {
  std::string capture = capture::Header(0);
  std::string bytes;
  for (int i = 0; i < 100; ++i) {
    const std::string piece(static_cast<std::size_t>(1 + i % 13), static_cast<char>(i));
    capture::AppendVarint(capture, 100'000);
    capture::AppendVarint(capture, piece.size());
    capture += piece;
    bytes += piece;
  }
  std::ofstream(PathOf("run.qlcap"), std::ios::binary) << capture;
  std::ofstream(PathOf("line.bin")).close();
  const CliResult result = RunCli({"simulate", "--device", PathOf("line.bin"), "--replay",
                                   PathOf("run.qlcap"), "--speed", "1000"},
                                  std::chrono::seconds(5));
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, PathOf("line.bin") + "\nreplayed 100 reads, " +
                            std::to_string(bytes.size()) + " bytes\n");
  EXPECT_EQ(ReadBytes(PathOf("line.bin")), bytes);
}

struct DamagedCapture {
  const char* name;
  std::string bytes;
  const char* reason;
};

class DamagedCaptureReplay : public CliTest,
                             public ::testing::WithParamInterface<DamagedCapture> {};

TEST_P(DamagedCaptureReplay, IsRefusedBeforeALineIsOpened) {
  std::ofstream(PathOf("bad.qlcap"), std::ios::binary) << GetParam().bytes;
  const CliResult result = RunCli({"simulate", "--pty", "--replay", PathOf("bad.qlcap")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "quintaline-cli simulate: " + PathOf("bad.qlcap") + ": " + GetParam().reason + "\n");
}

std::string CutCapture() {
  std::string text = capture::Header(0);
  capture::AppendVarint(text, 50'000);
  capture::AppendVarint(text, 14);
  return text + "1234567";
}

INSTANTIATE_TEST_SUITE_P(
    CaptureReplay, DamagedCaptureReplay,
    ::testing::Values(
        DamagedCapture{"reading_file", std::string(68, ' '),
                       "not a capture file (it does not begin with \"QLCAP\")"},
        DamagedCapture{"cut_short", CutCapture(),
                       "read 1 at byte 14: cut short: 14 bytes announced, 7 left"},
        DamagedCapture{"newer_version", "QLCAP" + std::string(1, '\x09') + std::string(8, '\0'),
                       "capture version 9 is not known (this program reads version 1)"}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(CaptureReplay, CaptureOnADiskThatFillsIsToldOnceAndTheRunGoesOn) {
  const std::string small = PathOf("small");
  std::filesystem::create_directory(small);
  TmpfsMount mount;
  if (!mount.Mount(small, 64)) GTEST_SKIP() << "needs the right to mount a tmpfs";
  // Fill it but for one page: the header fits, a second of noisy reads not.
  std::ofstream(small + "/filler", std::ios::binary) << std::string(60 * 1024, 'f');
  Simulator meter({"--reading", "DC 12.34 V", "--noise", "10"});
  ASSERT_FALSE(meter.Pty().empty());
  const CliResult result =
      RunCli({"log", "--port", meter.Pty(), "--sampling", "500ms", "--samples", "10", "--raw",
              small + "/run.qlcap", "--save", PathOf("run.rdg"), "--settings", PathOf("s.ini")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(Lines(result.out).size(), 10u);
  EXPECT_EQ(ReadBytes(PathOf("run.rdg")).size(), 10 * kRecordSize);
  const std::vector<std::string> errors = Lines(result.err);
  ASSERT_EQ(errors.size(), 1u) << result.err;
  EXPECT_EQ(errors[0], "quintaline-cli log: the capture stopped: " + small +
                           "/run.qlcap: No space left on device; the run goes on without it");
}

TEST_F(CaptureReplay, CaptureThatCannotBeMadeStopsTheRunBeforeItRecords) {
  Simulator meter({"--reading", "DC 12.34 V"});
  ASSERT_FALSE(meter.Pty().empty());
  const CliResult result = RunCli({"log", "--port", meter.Pty(), "--samples", "2", "--raw",
                                   PathOf("missing/run.qlcap"), "--settings", PathOf("s.ini")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "quintaline-cli log: " + PathOf("missing/run.qlcap") +
                            ": No such file or directory\n");
}

TEST_F(CaptureReplay, ReconnectGoesOnWhenTheStableNameComesBack) {
  const std::string stable = PathOf("usb-Meter_Cable-if00-port0");
  auto meter = std::make_unique<Simulator>(std::vector<std::string>{"--reading", "DC 1.234 V"});
  ASSERT_FALSE(meter->Pty().empty());
  std::filesystem::create_symlink(meter->Pty(), stable);
  CliProcess log({"log", "--port", stable, "--reconnect", "--sampling", "500ms", "--save",
                  PathOf("run.rdg"), "--settings", PathOf("s.ini")});
  ASSERT_FALSE(log.ReadLine(std::chrono::seconds(10)).empty());
  ASSERT_FALSE(log.ReadLine(std::chrono::seconds(10)).empty());

  meter->Stop();
  std::filesystem::remove(stable);
  // Longer than the silence notice takes: a gap is not a silent meter.
  ::sleep(6);
  meter = std::make_unique<Simulator>(std::vector<std::string>{"--reading", "DC 2.345 V"});
  ASSERT_FALSE(meter->Pty().empty());
  std::filesystem::create_symlink(meter->Pty(), stable);
  // Lines of the old reading may still be on their way; then come the new.
  std::string line;
  std::size_t read = 2;
  for (; read < 12 && line.find("2.345") == std::string::npos; ++read) {
    line = log.ReadLine(std::chrono::seconds(10));
  }
  const CliResult result = log.Finish(SIGTERM, std::chrono::seconds(10));
  EXPECT_NE(line.find("2.345"), std::string::npos) << line << result.out << result.err;
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "Meter connection lost\nMeter connection back\n");
  // One list through the gap: every line recorded is saved.
  EXPECT_EQ(ReadBytes(PathOf("run.rdg")).size(), (read + Lines(result.out).size()) * kRecordSize);
}

}  // namespace
}  // namespace ql::test_support
