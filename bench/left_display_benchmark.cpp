// One evaluation of all 47 elements of the left display, as the host runs it
// on every update (service 6, then every element), on the radios page and on
// the navigation arc page with every indication live. The service table is
// flat so that the figure is the module's own cost.
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
#include "flat_host.h"
#include "frame/registry.h"

using orv::bench::g_allocations;

namespace {

namespace fh = orv::bench;
using namespace orv::abi;

// An ILS approach with DME, radios tuned, lamps lit.
void set_cockpit() {
  fh::tokens[84] = 262;
  fh::tokens[855] = 270;
  fh::tokens[854] = fh::tokens[45] = 268;
  fh::tokens[755] = 28;
  fh::tokens[849] = -0.3;
  fh::tokens[852] = 1;
  fh::tokens[850] = 0.2;
  fh::tokens[853] = 1;
  fh::tokens[39] = 40;
  fh::tokens[59] = -20;
  fh::tokens[31] = 6.8;
  fh::tokens[35] = 41.2;
  fh::tokens[877] = fh::tokens[740] = 1;
  fh::text_tokens[19] = "OR";
  fh::text_tokens[47] = "IORV";
  fh::text_tokens[56] = "TAC";
  fh::int_tokens[617] = 0x2450;
  fh::int_tokens[23] = 0x1835;
  fh::int_tokens[871] = 0x2700;
  fh::int_tokens[870] = 0x3290;
  fh::int_tokens[872] = 0x1130;
  fh::int_tokens[24] = 0x1030;
  fh::int_tokens[873] = 0x1795;
  fh::int_tokens[27] = 0x1450;
  fh::int_tokens[16] = 0x0344;
  fh::int_tokens[18] = 0x0005;
  fh::int_tokens[38] = 0x7000;
  orv::cockpit::nav1_on = orv::cockpit::nav2_on = orv::cockpit::com1_on = 1;
  orv::cockpit::com2_on = orv::cockpit::adf_on = orv::cockpit::transponder_on = 1;
}

void BM_LeftDisplayFrame(benchmark::State& state) {
  set_cockpit();
  orv::cockpit::left_mfd_page = static_cast<std::int32_t>(state.range(0));
  fh::install();
  orv::test::GaugeCopy mfd(orv::gauges::multi_function_display_left);
  if (mfd.size() != 47) state.SkipWithError("the left display's chain does not hold 47 elements");

  const long before = g_allocations.load();
  for (auto _ : state) {
    mfd.service(kServicePreUpdate);
    for (std::size_t i = 0; i < mfd.size(); ++i) benchmark::DoNotOptimize(fh::evaluate(mfd, i));
  }
  const long allocations = g_allocations.load() - before;
  state.counters["allocations"] = static_cast<double>(allocations);
  state.counters["elements"] = static_cast<double>(mfd.size());
  if (allocations != 0) state.SkipWithError("per-frame path allocated");
  fh::uninstall();
}
BENCHMARK(BM_LeftDisplayFrame)->Arg(orv::cockpit::kLeftPageRadios)->Arg(orv::cockpit::kLeftPageNavArc);

}  // namespace

BENCHMARK_MAIN();
