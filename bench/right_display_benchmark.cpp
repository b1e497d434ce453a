// One evaluation of all 92 elements of the right multi-function display, as
// the host runs it on every update, on each of its three pages: every
// callback called with the instance's copy of its element. The channel
// variables are filled once before the loop and the service table reads a
// flat token array, so the figure is the module's own cost.
//
// Global operator new is replaced by a counting one; the run fails if the
// timed loop allocates.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "allocation_count.h"
#include "cockpit/mode_state.h"
#include "frame/module_records.h"
#include "frame/registry.h"
#include "host/panel/element_kind.h"
#include "mfd/right/right_display.h"
#include "support/gauge_copy.h"

using orv::bench::g_allocations;

namespace {

using namespace orv::abi;

f64 g_tokens[1024];
u32 g_int_tokens[1024];
void* g_table[128];

void ORV_CALL lookup_var(TokenVar* var) {
  const u32 id = var->id < 1024 ? var->id : 0;
  if (g_int_tokens[id] != 0) {
    var->value.n = 0.0;
    var->value.d = g_int_tokens[id];
  } else {
    var->value.n = g_tokens[id];
  }
}

// Climbing out in afterburner on a NAV 1 course: every element of every page
// live.
void set_flight() {
  const std::pair<u32, f64> tokens[] = {
      {624, 103},   {643, 102},   {625, 97},    {644, 96}, {567, 2500}, {577, 2450},   {638, 27000},
      {657, 26000}, {291, 6e6},   {297, 5e6},   {84, 300}, {855, 310},  {39, 40},      {59, 290},
      {854, 270},   {45, 270},    {849, 0.4},   {853, 1},  {852, 1},    {850, -0.3},   {755, 30},
      {31, 12.5},   {35, 140.2},  {74, 4250},   {61, 310}, {332, 8000}, {333, 7000},   {334, 6000},
      {329, 4000},  {327, 12000}, {323, 25000}, {869, 1},  {604, 1.3},  {732, 432000}, {734, 430000}};
  for (const auto& [id, v] : tokens) g_tokens[id] = v;
  g_int_tokens[24] = 0x1035;
  g_int_tokens[27] = 0x1440;
  g_int_tokens[16] = 0x0344;
  g_int_tokens[18] = 0x0105;
  orv::cockpit::nav1_on = orv::cockpit::nav2_on = orv::cockpit::adf_on = 1;
  orv::cockpit::fuel_tank_capacity_kg[0] = orv::cockpit::fuel_tank_capacity_kg[1] = 1800.0;
}

// Fills every channel variable of the copy once, as the host would.
void fill_channels(orv::test::GaugeCopy& copy) {
  for (std::size_t i = 0; i < copy.size(); ++i) {
    for (orv::host::ElementChannel& c : orv::host::element_channels(copy.element(i))) lookup_var(c.source);
  }
}

void BM_RightDisplayEvaluateAllElements(benchmark::State& state) {
  set_flight();
  g_table[kSlotLookupVar] = reinterpret_cast<void*>(&lookup_var);
  ImportTable.services = g_table;
  orv::cockpit::right_mfd_page = static_cast<std::int32_t>(state.range(0));
  orv::test::GaugeCopy display(orv::gauges::multi_function_display_right);
  if (display.size() == 0) state.SkipWithError("the right display placed no elements");
  fill_channels(display);

  const long before = g_allocations.load();
  for (auto _ : state) {
    for (std::size_t i = 0; i < display.size(); ++i) benchmark::DoNotOptimize(display.evaluate(i));
  }
  const long allocations = g_allocations.load() - before;
  state.counters["allocations"] = static_cast<double>(allocations);
  if (allocations != 0) state.SkipWithError("per-frame path allocated");
  ImportTable.services = nullptr;
}
// Pages 1 (controls), 2 (engine) and 3 (navigation circle).
BENCHMARK(BM_RightDisplayEvaluateAllElements)->Arg(1)->Arg(2)->Arg(3);

}  // namespace

BENCHMARK_MAIN();
