// One evaluation of all 46 head-up display elements, as the host runs it on
// every update: channel variables filled, every callback called with the
// instance's copy of its element. The service table is a flat token array so
// that the figure is the module's own cost.
//
// Global operator new is replaced by a counting one; the benchmark reports
// the allocations made inside the timed loop (expected: 0) and fails the run
// if there are any.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "cockpit/mode_state.h"
#include "flat_host.h"
#include "frame/registry.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

namespace fh = orv::bench;
using namespace orv::abi;

// An ILS approach on NAV 1 with the gear down: every symbol of the HUD live.
void set_approach() {
  fh::tokens[61] = 145;
  fh::tokens[65] = -3.6 * 256;
  fh::tokens[74] = 850;
  fh::tokens[78] = 2.5;
  fh::tokens[80] = -4;
  fh::tokens[84] = 274;
  fh::tokens[789] = 0.14;
  fh::tokens[332] = fh::tokens[333] = fh::tokens[334] = 16383;
  fh::tokens[49] = fh::tokens[44] = 1;
  fh::tokens[40] = 12;
  fh::tokens[41] = -20;
  fh::tokens[45] = 274;
  fh::int_tokens[43] = 1;
  orv::cockpit::hud_on = 1;
  orv::cockpit::hud_colour = 0;
  orv::cockpit::nav_source_nav1 = 1;
  orv::cockpit::nav1_on = 1;
  orv::cockpit::nav2_on = 1;
}

void BM_HudEvaluateAllElements(benchmark::State& state) {
  set_approach();
  fh::install();
  orv::test::GaugeCopy hud(orv::gauges::head_up_display);
  if (hud.size() != 46) state.SkipWithError("the HUD chain does not hold 46 elements");

  const long before = g_allocations.load();
  for (auto _ : state) {
    for (std::size_t i = 0; i < hud.size(); ++i) benchmark::DoNotOptimize(fh::evaluate(hud, i));
  }
  const long allocations = g_allocations.load() - before;
  state.counters["allocations"] = static_cast<double>(allocations);
  state.counters["elements"] = static_cast<double>(hud.size());
  if (allocations != 0) state.SkipWithError("per-frame path allocated");
  fh::uninstall();
}
BENCHMARK(BM_HudEvaluateAllElements);

}  // namespace

BENCHMARK_MAIN();
