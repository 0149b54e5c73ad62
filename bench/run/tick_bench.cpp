// One recording tick of the measuring window that takes a sample: read the
// queued frame, decode, classify, build and record the list line, update
// the meter panel. On fakes: an in-memory line and a host that keeps only
// what a form would keep (the control texts; the lines are the view's).

#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "base/frame_layout.h"
#include "graph/null_canvas.h"
#include "run/memory_profile_store.h"
#include "run/qarn_view.h"
#include "support/fake_serial_line.h"
#include "support/fixed_clock.h"
#include "support/view_probe.h"

namespace ql {
namespace {

class LeanHost : public FormControls, public FormStatus, public FormDialogs, public FormPanel {
 public:
  // No list on screen and no window: the benchmark ticks the view.
  FormHost Parts() { return FormHost(*this, *this, *this, *this, nullptr, nullptr); }

  void SetControlText(int id, std::string_view text) override { Slot(id).assign(text); }
  void ShowControl(int, bool) override {}
  void EnableControl(int, bool) override {}
  void SetControlFont(int, const FontDesc&) override {}
  void SetPaneText(int, std::string_view) override {}
  void SetFilePath(std::string_view) override {}
  void MessageBox(std::string_view, std::string_view) override {}
  bool RunPortDialog(int&) override { return false; }
  std::optional<std::string> OpenFileDialog(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> SaveFileDialog(const FileDialogOptions&) override { return {}; }
  Canvas* PanelCanvas() override { return &canvas_; }
  void InvalidateView() override {}

 private:
  static constexpr int kSlots = 64;
  std::string& Slot(int id) { return texts_[static_cast<std::size_t>(id % kSlots)]; }
  std::array<std::string, kSlots> texts_;
  NullCanvas canvas_;
};

// The frame of ' 1.234' with DC and volt lit.
std::string DcVoltFrame() {
  std::array<std::uint8_t, 14> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((i + 1) << 4);
  const char digits[] = {1, 2, 3, 4};
  for (int k = 1; k <= 4; ++k) {
    const std::uint8_t code = frame::kDigitCodes[static_cast<std::size_t>(digits[k - 1])];
    bytes[frame::DigitFirstByte(k)] |= static_cast<std::uint8_t>((code >> 4) & 7);
    bytes[frame::DigitFirstByte(k) + 1] |= static_cast<std::uint8_t>(code & 0xF);
  }
  bytes[frame::kPointBeforeDigit2.byte] |= frame::kPointBeforeDigit2.mask;
  bytes[frame::kDc.byte] |= frame::kDc.mask;
  bytes[frame::kVolt.byte] |= frame::kVolt.mask;
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void RunTicks(benchmark::State& state, bool allModes) {
  test_support::FakeSerialLine line;
  MemoryProfileStore store;
  test_support::FixedClock clock;
  LeanHost host;
  CQarnView view(host.Parts(), store, clock, line);
  view.OnCreate();
  view.OnRunStart();
  if (allModes) {
    view.OnButtonRel();
    view.OnButtonMinMax();
    view.OnButtonDb();
  }
  test_support::ViewProbe(view).m_link.m_nReload = 1;  // every tick takes a sample
  const std::string frame = DcVoltFrame();
  for (auto _ : state) {
    line.Send(frame);
    view.OnTimer();
  }
  if (view.Lines().Count() != static_cast<int>(state.iterations())) {
    state.SkipWithError("not every tick took a sample");
  }
}

void BM_RecordingTick(benchmark::State& state) { RunTicks(state, false); }
void BM_RecordingTickAllModes(benchmark::State& state) { RunTicks(state, true); }

BENCHMARK(BM_RecordingTick);
BENCHMARK(BM_RecordingTickAllModes);

}  // namespace
}  // namespace ql
