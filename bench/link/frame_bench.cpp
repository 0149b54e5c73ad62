// Frames per second through the road of one sample: the frame search of
// ReadFrame on an in-memory line, the LCD decoder and the classification.
// The frames come from the meter simulator: a mix of functions and ranges,
// optionally with line noise before each frame.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "decode/classify.h"
#include "decode/lcd_decoder.h"
#include "link/com_qv7300.h"
#include "sim/frame_sequence.h"
#include "support/fake_serial_line.h"

namespace ql {
namespace {

constexpr const char* kMix =
    "DC 12.34 V;AC 1.234 mV;DC 120.0 mA;AC 5.000 A;DC 400 uA;OHM 2.000 MOhm;OHM 12.34 kOhm;"
    "OHM OL;FREQ 4.500 kHz;TEMP 23.5 C;DIODE 0.512 V;DUTY 50.0 %;CAP 4.700 nF;DC -1.999 V";

// One slot's bytes per entry: a frame, with garbage before it for noise > 0.
std::vector<std::vector<std::uint8_t>> Slots(double noise, int count) {
  SequenceOptions options;
  FrameSequence meter;
  if (!ParseSequenceArgs({"--cycle", kMix}, options).ok()) return {};
  options.noise = noise;
  if (!FrameSequence::Create(options, meter).ok()) return {};
  std::vector<std::vector<std::uint8_t>> slots;
  for (int i = 0; i < count; ++i) slots.push_back(meter.Next());
  return slots;
}

void DecodeAndClassify(const std::string& frame, LcdTexts& texts) {
  if (DecodeLcdFrame(frame, {}, texts)) {
    Reading reading = Classify(texts);
    benchmark::DoNotOptimize(reading);
    benchmark::DoNotOptimize(ListOverRange(texts.display, reading.classLetter, reading.decimals));
  }
}

void BM_DecodeClassify(benchmark::State& state) {
  std::vector<std::string> frames;
  for (const std::vector<std::uint8_t>& slot : Slots(0.0, 1024)) {
    frames.emplace_back(slot.begin(), slot.end());
  }
  LcdTexts texts;
  std::size_t i = 0;
  for (auto _ : state) {
    DecodeAndClassify(frames[i], texts);
    i = (i + 1) % frames.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeClassify);

// Every iteration: the line receives one slot, ReadFrame finds the frame in
// it, and the frame is decoded and classified. Arg: noise in percent.
void BM_ReadFrameDecodeClassify(benchmark::State& state) {
  const auto slots = Slots(static_cast<double>(state.range(0)) / 100.0, 1024);
  test_support::FakeSerialLine line;
  CComQV7300 link{line};
  if (link.Open(1) != 1) state.SkipWithError("the link did not open");
  link.m_nReload = 1 << 30;
  LcdTexts texts;
  std::size_t i = 0;
  std::int64_t found = 0;
  for (auto _ : state) {
    line.Send(slots[i]);
    i = (i + 1) % slots.size();
    link.m_nCountdown = 1 << 30;
    if (link.ReadFrame() == RX_READY) {
      DecodeAndClassify(link.m_strFrame, texts);
      ++found;
    }
  }
  state.SetItemsProcessed(found);
}
BENCHMARK(BM_ReadFrameDecodeClassify)->Arg(0)->Arg(20);

}  // namespace
}  // namespace ql
