// One recording tick of the measuring window that takes a sample: read the
// queued frame, decode, classify, build and record the list line, update
// the meter panel. On fakes: an in-memory line and a host that keeps only
// what a form would keep (the control texts and the list's newest line).

#include <benchmark/benchmark.h>

#include <string>

#include "run/qarn_view.h"
#include "support/fake_serial_line.h"
#include "support/fixed_clock.h"
#include "support/lean_form_host.h"
#include "support/memory_profile_store.h"

namespace ql {
namespace {

void RunTicks(benchmark::State& state, bool allModes) {
  testing::FakeSerialLine line;
  testing::MemoryProfileStore store;
  testing::FixedClock clock;
  testing::LeanFormHost host;
  CQarnView view(host, store, clock, line);
  view.OnCreate();
  view.OnRunStart();
  if (allModes) {
    view.OnButtonRel();
    view.OnButtonMinMax();
    view.OnButtonDb();
  }
  view.m_link.m_nReload = 1;  // every tick takes a sample
  const std::string frame = testing::DcVoltFrame();
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
