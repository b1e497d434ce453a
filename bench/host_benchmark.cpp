// One full frame of the substitute host (service 6 to every instance,
// evaluation of every element of the open windows, service 10): over the
// default panel with the real module, and over 32 probe instances, whose
// trivial callbacks leave mostly the host's own cost.
#include <benchmark/benchmark.h>

#include "host.h"
#include "host_error.h"

namespace orv::host {
namespace {

void BM_DefaultPanelFrame(benchmark::State& bench) {
  auto module = Module::load(ORV_REAL_MODULE);
  SimState state;
  Host host(*module, state);
  std::vector<std::string> warnings;
  host.place(parse_panel_config(read_file(ORV_DEFAULT_PANEL), "panel.cfg"), warnings);
  host.start();
  std::size_t elements = 0;
  for (std::size_t i = 0; i < host.instances().size(); ++i) elements += host.instance(i).elements().size();
  for (auto _ : bench) host.frame();
  bench.counters["instances"] = static_cast<double>(host.instances().size());
  bench.counters["elements"] = static_cast<double>(elements);
}
BENCHMARK(BM_DefaultPanelFrame);

void BM_ProbeFrame(benchmark::State& bench) {
  auto module = Module::load(ORV_PROBE_MODULE);
  SimState state;
  state.open_window(0);
  Host host(*module, state);
  for (int i = 0; i < 32; ++i) host.add_instance("Probe", 0, 0, 0);
  host.start();
  std::size_t frames = 0;
  for (auto _ : bench) {
    host.frame();
    if (++frames % 1024 == 0) state.clear_logs();  // the probe logs every call
  }
  bench.counters["elements"] = 32 * 5;
}
BENCHMARK(BM_ProbeFrame);

}  // namespace
}  // namespace orv::host

BENCHMARK_MAIN();
