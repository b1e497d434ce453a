// One evaluation of all 46 head-up display elements, as the host runs it on
// every update: channel variables filled, every callback called with the
// instance's copy of its element. The test host delivers the channel
// variables; the module's own token reads go to a flat token array, so that
// the figure is mostly the module's own cost.
//
// Global operator new is replaced by a counting one; the benchmark reports
// the allocations made inside the timed loop (expected: 0) and fails the run
// if there are any.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "allocation_count.h"
#include "cockpit/mode_state.h"
#include "frame/module_records.h"
#include "frame/registry.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

using orv::bench::g_allocations;

namespace {

using namespace orv::abi;

f64 g_tokens[1024];
u32 g_int_tokens[1024];

void ORV_CALL lookup_var(TokenVar* var) {
  const u32 id = var->id < 1024 ? var->id : 0;
  if (g_int_tokens[id] != 0) {
    var->value.n = 0.0;
    var->value.d = g_int_tokens[id];
  } else {
    var->value.n = g_tokens[id];
  }
}

// An ILS approach on NAV 1 with the gear down: every symbol of the HUD live.
void set_approach() {
  g_tokens[61] = 145;
  g_tokens[65] = -3.6 * 256;
  g_tokens[74] = 850;
  g_tokens[78] = 2.5;
  g_tokens[80] = -4;
  g_tokens[84] = 274;
  g_tokens[789] = 0.14;
  g_tokens[332] = g_tokens[333] = g_tokens[334] = 16383;
  g_tokens[49] = g_tokens[44] = 1;
  g_tokens[40] = 12;
  g_tokens[41] = -20;
  g_tokens[45] = 274;
  g_int_tokens[43] = 1;
  orv::cockpit::hud_on = 1;
  orv::cockpit::hud_colour = 0;
  orv::cockpit::nav_source_nav1 = 1;
  orv::cockpit::nav1_on = 1;
  orv::cockpit::nav2_on = 1;
}

void BM_HudEvaluateAllElements(benchmark::State& state) {
  set_approach();
  orv::test::FakeHost host;
  for (u32 id = 0; id < 1024; ++id) {
    if (g_tokens[id] != 0.0) host.tokens[id] = g_tokens[id];
    if (g_int_tokens[id] != 0) host.int_tokens[id] = g_int_tokens[id];
  }
  host.table[kSlotLookupVar] = reinterpret_cast<void*>(&lookup_var);
  orv::test::GaugeCopy hud(orv::gauges::head_up_display);
  if (hud.size() != 46) state.SkipWithError("the HUD chain does not hold 46 elements");

  const long before = g_allocations.load();
  for (auto _ : state) {
    for (std::size_t i = 0; i < hud.size(); ++i) benchmark::DoNotOptimize(hud.evaluate(i));
  }
  const long allocations = g_allocations.load() - before;
  state.counters["allocations"] = static_cast<double>(allocations);
  state.counters["elements"] = static_cast<double>(hud.size());
  if (allocations != 0) state.SkipWithError("per-frame path allocated");
}
BENCHMARK(BM_HudEvaluateAllElements);

}  // namespace

BENCHMARK_MAIN();
