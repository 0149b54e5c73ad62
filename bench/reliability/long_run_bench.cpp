// Cost of one 50 ms tick of a run at 500 ms sampling, with a short list and
// with a list of 100,000 lines (about 11 hours at 500 ms), drawing into the
// meter panel and into the trend graph. Flat across the two list sizes: the
// tick never walks the whole list.

#include <benchmark/benchmark.h>

#include <cstddef>

#include "graph/display_form.h"
#include "reliability/long_run.h"
#include "support/view_probe.h"

namespace ql {
namespace {

void RunTicks(benchmark::State& state, int form) {
  test_support::LongRun run(form);
  // The list as a long run leaves it, recorded fast: a sample every tick.
  const int reload = run.view->Link().m_nReload;
  test_support::ViewProbe(*run.view).m_link.m_nReload = 1;
  while (run.view->Lines().Count() < state.range(0)) run.Tick();
  test_support::ViewProbe(*run.view).m_link.m_nReload = reload;
  for (auto _ : state) run.Tick();
  state.counters["lines"] = static_cast<double>(run.view->Lines().Count());
}

void BM_TickIntoPanel(benchmark::State& state) { RunTicks(state, FORM_TEXT); }
void BM_TickIntoTrendGraph(benchmark::State& state) { RunTicks(state, FORM_LINE); }

BENCHMARK(BM_TickIntoPanel)->Arg(1)->Arg(100'000);
BENCHMARK(BM_TickIntoTrendGraph)->Arg(1)->Arg(100'000);

}  // namespace
}  // namespace ql
