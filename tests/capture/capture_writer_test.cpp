// Writing a capture off the tick: what the tick hands over comes back read
// for read with its time; the tick goes on while the disk is stuck; a disk
// that fails is told of once and the run's side carries on.

#include "capture/capture_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "capture/capture_format.h"
#include "capture/capture_reader.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

namespace ql {
namespace {

using namespace std::chrono_literals;
using test_support::ReadBytes;
using test_support::WriteBytes;

void Give(CaptureWriter& writer, const std::string& bytes) {
  writer.Received(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string Text(const Capture& capture, std::size_t index) {
  const auto bytes = capture.Bytes(capture.reads[index]);
  return std::string(bytes.begin(), bytes.end());
}

class CaptureWriterTest : public test_support::TempDirTest {};

TEST_F(CaptureWriterTest, EveryReadComesBackWithItsBytesAndItsTime) {
  std::unique_ptr<CaptureWriter> writer;
  ASSERT_TRUE(CaptureWriter::Create(PathOf("run.qlcap"), 1'700'000'000'000'000, writer).ok());
  Give(*writer, "abc");
  std::this_thread::sleep_for(30ms);
  Give(*writer, std::string("d\0e", 3));
  // More than one read may hold: it is kept as reads of the most, at one time.
  std::string big(capture::kMaxReadBytes + 100, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  Give(*writer, big);
  EXPECT_TRUE(writer->Finish().ok());
  EXPECT_TRUE(writer->Done());

  Capture capture;
  ASSERT_TRUE(ReadCaptureFile(PathOf("run.qlcap"), capture).ok());
  EXPECT_EQ(capture.startUtcMicros, 1'700'000'000'000'000);
  ASSERT_EQ(capture.reads.size(), 4u);
  EXPECT_EQ(Text(capture, 0), "abc");
  EXPECT_EQ(Text(capture, 1), std::string("d\0e", 3));
  EXPECT_EQ(Text(capture, 2) + Text(capture, 3), big);
  EXPECT_EQ(capture.reads[2].size, capture::kMaxReadBytes);
  EXPECT_LT(capture.reads[0].atMicros, 30'000u);
  EXPECT_GE(capture.reads[1].atMicros - capture.reads[0].atMicros, 30'000u);
  EXPECT_EQ(capture.reads[3].atMicros, capture.reads[2].atMicros);
}

TEST_F(CaptureWriterTest, ReadsAfterTheFinishAreNotKept) {
  std::unique_ptr<CaptureWriter> writer;
  ASSERT_TRUE(CaptureWriter::Create(PathOf("run.qlcap"), 0, writer).ok());
  Give(*writer, "kept");
  writer->RequestFinish();
  Give(*writer, "late");
  EXPECT_TRUE(writer->Finish().ok());
  Capture capture;
  ASSERT_TRUE(ReadCaptureFile(PathOf("run.qlcap"), capture).ok());
  ASSERT_EQ(capture.reads.size(), 1u);
  EXPECT_EQ(Text(capture, 0), "kept");
}

// The file is a FIFO whose reader has stopped reading, as a disk that hangs:
// the writer thread waits in write(), and the tick must not.
TEST_F(CaptureWriterTest, TickGoesOnWhileTheDiskIsStuck) {
  const std::string fifo = PathOf("stuck");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  std::unique_ptr<CaptureWriter> writer;
  ASSERT_TRUE(CaptureWriter::Create(fifo, 0, writer).ok());

  // Far more than a pipe holds, over more than a flush period.
  std::string sent;
  const auto start = std::chrono::steady_clock::now();
  for (int tick = 0; tick < 60; ++tick) {
    const std::string read(4000, static_cast<char>('A' + tick % 26));
    Give(*writer, read);
    sent += read;
    std::this_thread::sleep_for(25ms);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
  EXPECT_FALSE(writer->Done());
  EXPECT_EQ(writer->TakeFailure(), std::nullopt);

  // The disk comes back: everything arrives, in order.
  std::string arrived;
  std::thread drain([&] {
    ::fcntl(reader, F_SETFL, 0);
    char buffer[1 << 16];
    for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) != 0;) {
      if (n > 0) arrived.append(buffer, static_cast<std::size_t>(n));
    }
  });
  EXPECT_TRUE(writer->Finish().ok());
  drain.join();
  ::close(reader);
  Capture capture;
  ASSERT_TRUE(ParseCapture(std::vector<std::uint8_t>(arrived.begin(), arrived.end()), capture).ok());
  std::string replayed;
  for (std::size_t i = 0; i < capture.reads.size(); ++i) replayed += Text(capture, i);
  EXPECT_EQ(replayed, sent);
}

TEST_F(CaptureWriterTest, FullDiskIsToldOnceAndTheRunSideCarriesOn) {
  const std::string mountPoint = PathOf("small");
  std::filesystem::create_directory(mountPoint);
  test_support::TmpfsMount mount;
  if (!mount.Mount(mountPoint, 64)) GTEST_SKIP() << "needs the right to mount a tmpfs";
  std::unique_ptr<CaptureWriter> writer;
  ASSERT_TRUE(CaptureWriter::Create(mountPoint + "/run.qlcap", 0, writer).ok());

  std::optional<Status> failure;
  const auto until = std::chrono::steady_clock::now() + 10s;
  while (!failure && std::chrono::steady_clock::now() < until) {
    Give(*writer, std::string(2048, 'x'));
    failure = writer->TakeFailure();
    std::this_thread::sleep_for(5ms);
  }
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->code(), Status::Code::kIoError);
  EXPECT_NE(failure->reason().find("run.qlcap: No space left on device"), std::string::npos)
      << failure->reason();
  // Told once; the tick may go on handing bytes over.
  for (int i = 0; i < 100; ++i) Give(*writer, std::string(2048, 'y'));
  EXPECT_EQ(writer->TakeFailure(), std::nullopt);
  const Status outcome = writer->Finish();
  EXPECT_EQ(outcome.reason(), failure->reason());
  // What reached the disk before is a capture cut short, and says so.
  Capture capture;
  EXPECT_NE(ReadCaptureFile(mountPoint + "/run.qlcap", capture).reason().find("cut short"),
            std::string::npos);
}

TEST_F(CaptureWriterTest, FileThatCannotBeMadeIsRefusedAtOnce) {
  for (const std::string& path : {PathOf("missing/run.qlcap"), dir_.path().string(),
                                  std::string("/dev/full")}) {
    std::unique_ptr<CaptureWriter> writer;
    const Status status = CaptureWriter::Create(path, 0, writer);
    EXPECT_FALSE(status.ok()) << path;
    EXPECT_EQ(status.reason().rfind(path + ": ", 0), 0u) << status.reason();
    EXPECT_EQ(writer, nullptr);
  }
}

}  // namespace
}  // namespace ql
