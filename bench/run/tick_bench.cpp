// One recording tick of the measuring window that takes a sample: read the
// queued frame, decode, classify, build and record the list line, update
// the meter panel. On fakes: an in-memory line and a host that keeps only
// what a form would keep (the control texts; the lines are the view's).

#include <benchmark/benchmark.h>

#include <string>

#include "run/memory_profile_store.h"
#include "run/qarn_view.h"
#include "support/fake_serial_line.h"
#include "support/fixed_clock.h"
#include "support/lean_form_host.h"
#include "support/view_probe.h"

namespace ql {
namespace {

void RunTicks(benchmark::State& state, bool allModes) {
  test_support::FakeSerialLine line;
  MemoryProfileStore store;
  test_support::FixedClock clock;
  test_support::LeanFormHost host;
  CQarnView view(host.Parts(), store, clock, line);
  view.OnCreate();
  view.OnRunStart();
  if (allModes) {
    view.OnButtonRel();
    view.OnButtonMinMax();
    view.OnButtonDb();
  }
  test_support::ViewProbe(view).m_link.m_nReload = 1;  // every tick takes a sample
  const std::string frame = test_support::DcVoltFrame();
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
