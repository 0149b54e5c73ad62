// What a lost line and a capture cost the 50 ms tick: a reopen try of a
// device that is not there (a stable name whose adapter is unplugged), the
// tick's share of the tries (one call every tick, a try every 20), and
// handing one read to a capture.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "capture/capture_writer.h"
#include "link/com_qv7300.h"
#include "link/posix_serial_line.h"
#include "link/pseudo_terminal.h"
#include "support/fake_serial_line.h"

namespace ql {
namespace {

void BM_ReopenTryOfAnAbsentDevice(benchmark::State& state) {
  // A stable name that pointed at a pseudo-terminal, opened once and then
  // gone with its adapter.
  PseudoTerminal adapter;
  if (!adapter.Open(/*nonBlocking=*/false).ok()) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  const std::string path =
      (std::filesystem::temp_directory_path() / "ql-bench-usb-Meter_Cable-if00-port0").string();
  std::filesystem::remove(path);
  std::filesystem::create_symlink(adapter.SlavePath(), path);
  PosixSerialLine line{[&](const std::string&) { return path; }};
  if (!line.Open("COM1").ok()) state.SkipWithError("the line did not open");
  line.Close();
  std::filesystem::remove(path);
  for (auto _ : state) benchmark::DoNotOptimize(line.Reopen());
}

void BM_LostLineTickShare(benchmark::State& state) {
  test_support::FakeSerialLine line;
  CComQV7300 link{line};
  if (link.Open(1) != 1) {
    state.SkipWithError("the link did not open");
    return;
  }
  line.Unplug();
  link.ReadFrame();
  for (auto _ : state) benchmark::DoNotOptimize(link.TryReopen());
}

void BM_CaptureReceivedOneRead(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() / "ql-bench.qlcap").string();
  std::unique_ptr<CaptureWriter> writer;
  if (!CaptureWriter::Create(path, 0, writer).ok()) {
    state.SkipWithError("no capture file");
    return;
  }
  const std::string read(14, '\x5A');
  for (auto _ : state) {
    writer->Received(reinterpret_cast<const std::uint8_t*>(read.data()), read.size());
  }
  // Past the memory kept for a disk that lags, the capture would end and
  // the loop measure nothing: the iterations stay below it.
  if (!writer->Finish().ok()) state.SkipWithError("the capture failed");
  std::filesystem::remove(path);
}

BENCHMARK(BM_ReopenTryOfAnAbsentDevice);
BENCHMARK(BM_LostLineTickShare);
BENCHMARK(BM_CaptureReceivedOneRead)->Iterations(500'000);

}  // namespace
}  // namespace ql
