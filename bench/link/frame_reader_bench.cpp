// Cost of one ReadFrame call: with the meter's own byte rate (12 bytes per
// 50 ms tick at 2400 baud), and with a full driver queue of bytes that never
// form a frame.

#include <benchmark/benchmark.h>

#include <string>

#include "link/com_qv7300.h"
#include "support/fake_serial_line.h"

namespace ql {
namespace {

std::string Frame() {
  std::string frame;
  for (int high = 0x1; high <= 0xE; ++high) frame.push_back(static_cast<char>((high << 4) | 5));
  return frame;
}

void BM_ReadFrameAtMeterRate(benchmark::State& state) {
  test_support::FakeSerialLine line;
  CComQV7300 link{line};
  if (link.Open(1) != 1) state.SkipWithError("the link did not open");
  link.m_nReload = 16;
  const std::string stream = Frame() + Frame() + Frame() + Frame() + Frame() + Frame();
  std::size_t at = 0;
  for (auto _ : state) {
    line.Send(stream.substr(at, 12));
    at = (at + 12) % stream.size();
    link.Tick();
    link.TakeSample();
    benchmark::DoNotOptimize(link.ReadFrame());
  }
}
BENCHMARK(BM_ReadFrameAtMeterRate);

void BM_ReadFrameJunkFlood(benchmark::State& state) {
  test_support::FakeSerialLine line;
  line.queueCap = 1024;
  CComQV7300 link{line};
  if (link.Open(1) != 1) state.SkipWithError("the link did not open");
  const std::string junk(3 * 1024, '\x07');
  for (auto _ : state) {
    line.Send(junk);
    link.m_nCountdown = 2;
    benchmark::DoNotOptimize(link.ReadFrame());
  }
}
BENCHMARK(BM_ReadFrameJunkFlood);

}  // namespace
}  // namespace ql
