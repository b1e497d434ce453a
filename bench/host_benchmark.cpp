// One full frame of the substitute host (service 6 to every instance,
// evaluation of every element of the open windows, service 10): over the
// default panel with the real module, and over 32 probe instances, whose
// trivial callbacks leave mostly the host's own cost. And one frame of
// `trace` over the built-in flight: the frame, then its trace lines.
//
// Global operator new is replaced by a counting one: the trace frame reports
// the allocations made in its timed loop.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>

#include "allocation_count.h"
#include "host/load/host_error.h"
#include "host/panel/host.h"
#include "host/record/trace.h"
#include "host/scenario/scenario.h"

using orv::bench::g_allocations;

namespace orv::host {
namespace {

// The default panel lit and started, with the left display on page `page`
// (0: the panel without either instance of the left display). The arc page
// runs an ILS approach with DME.
void BM_DefaultPanelFrame(benchmark::State& bench) {
  const auto page = bench.range(0);
  auto module = Module::load(ORV_REAL_MODULE);
  SimState state;
  Host host(*module, state);
  std::vector<std::string> warnings;
  std::string panel = read_file(ORV_DEFAULT_PANEL);
  if (page == 0) {
    std::string kept;
    std::size_t start = 0;
    while (start < panel.size()) {
      std::size_t end = panel.find('\n', start);
      if (end == std::string::npos) end = panel.size();
      const std::string line = panel.substr(start, end - start);
      if (line.find("Multi_Function_Display_Left") == std::string::npos) kept += line + "\n";
      start = end + 1;
    }
    panel = kept;
  }
  host.place(parse_panel_config(panel, "panel.cfg"), warnings);
  state.set_number(753, 100);  // selector lit
  state.set_number(84, 262);
  state.set_number(854, 268);
  state.set_number(755, 28);
  state.set_number(852, 1);
  state.set_number(853, 1);
  state.set_number(31, 6.8);
  state.set_integer(24, 0x1030);
  state.set_integer(617, 0x2450);
  host.start();
  host.frame();
  // The selector's radios and arc buttons.
  const std::pair<int, int> buttons[] = {{110, 85}, {180, 140}};
  for (std::size_t i = 0; i < host.instances().size(); ++i) {
    if (host.instances()[i].gauge->name() != std::string("Screen_Selector_Main")) continue;
    if (page == 3) host.click(i, buttons[0].first, buttons[0].second, MouseButton::left);
    if (page == 5) host.click(i, buttons[1].first, buttons[1].second, MouseButton::left);
  }
  std::size_t elements = 0;
  for (std::size_t i = 0; i < host.instances().size(); ++i) elements += host.instance(i).elements().size();
  std::size_t frames = 0;
  for (auto _ : bench) {
    host.frame();
    if (++frames % 1024 == 0) state.clear_logs();
  }
  bench.counters["instances"] = static_cast<double>(host.instances().size());
  bench.counters["elements"] = static_cast<double>(elements);
}
BENCHMARK(BM_DefaultPanelFrame)->Arg(0)->Arg(2)->Arg(3)->Arg(5);

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

// One frame of a panel of N instances of one gauge, all in the open main
// window, for N = 1, 16 and 46: the time per instance (the inverse of
// items_per_second) stays the same when the host and the module scale
// linearly. Run under callgrind (fixed iteration count) for the instructions:
//   valgrind --tool=callgrind --collect-atstart=no
//     --toggle-collect='orv::host::Host::update()' bench/host_benchmark
//     --benchmark_filter=ScaledPanel/0/46
constexpr const char* kScaledGauges[] = {"Multi_Function_Display_Left", "Head_Up_Display"};

void BM_ScaledPanel(benchmark::State& bench) {
  const char* gauge = kScaledGauges[bench.range(0)];
  const auto count = static_cast<int>(bench.range(1));
  auto module = Module::load(ORV_REAL_MODULE);
  SimState state;
  Host host(*module, state);
  std::string panel = "[Window00]\nsize_mm=1024,768\nvisible=1\n";
  for (int i = 0; i < count; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "gauge%02d=Orvane_Instr!%s, %d,%d,286,291\n", i, gauge, (i % 8) * 120,
                  (i / 8) * 100);
    panel += line;
  }
  std::vector<std::string> warnings;
  host.place(parse_panel_config(panel, "panel.cfg"), warnings);
  state.set_number(755, 28);  // avionics powered, the HUD lit
  state.set_number(753, 100);
  state.set_number(84, 262);
  state.set_number(31, 6.8);
  state.set_integer(24, 0x1030);
  host.start();
  for (int f = 0; f < 20; ++f) host.frame();
  std::size_t frames = 0;
  for (auto _ : bench) {
    host.frame();
    if (++frames % 1024 == 0) state.clear_logs();
  }
  bench.SetItemsProcessed(static_cast<std::int64_t>(bench.iterations()) * count);
  bench.counters["instances"] = count;
}
BENCHMARK(BM_ScaledPanel)->ArgsProduct({{0, 1}, {1, 16, 46}})->Iterations(400)->Unit(benchmark::kMicrosecond);

// An output that keeps nothing.
class NullOutput : public TraceOutput {
 public:
  void write(const char*, std::size_t size) override { bytes += size; }
  void flush() override {}
  std::size_t bytes = 0;
};

// The frames of the built-in flight (panel and scenario as `trace` runs them
// by default) with their trace lines written to nowhere: one iteration is one
// frame, and a run is the whole flight. Frames past the flight's end would
// measure a standing picture, so the count is fixed.
void BM_TraceFrame(benchmark::State& bench) {
  auto module = Module::load(ORV_REAL_MODULE);
  const Scenario scenario = parse_scenario(read_file(ORV_DEFAULT_SCENARIO), "default.json", "");
  SimState state;
  Host host(*module, state);
  std::vector<std::string> warnings;
  host.place(parse_panel_config(read_file(ORV_DEFAULT_PANEL), "panel.cfg"), warnings);
  TraceOptions options;
  NullOutput out;
  TraceRecorder trace(host, scenario, options, out);
  trace.start();
  for (int f = 0; f < 18; ++f) trace.frame();  // past the first frame's full listing
  const long before = g_allocations.load();
  for (auto _ : bench) trace.frame();
  const long allocations = g_allocations.load() - before;
  trace.finish();
  bench.counters["allocations"] = static_cast<double>(allocations);
  bench.counters["bytes_per_frame"] =
      benchmark::Counter(static_cast<double>(out.bytes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TraceFrame)->Iterations(378)->Unit(benchmark::kMicrosecond);
// The keyframed value of one token at every frame of a flight, for tracks of
// 10 to 100000 keyframes: the lookup is a binary search, so the cost per
// frame grows with the logarithm of the count.
void BM_KeyframeLookup(benchmark::State& bench) {
  TokenTrack track;
  track.token = 84;
  const auto count = bench.range(0);
  for (std::int64_t k = 0; k < count; ++k)
    track.keys.push_back({static_cast<double>(k) * 0.01, SimValue::of_number(static_cast<double>(k % 360))});
  const double end = track.keys.back().t;
  double t = 0.0;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(track.at(t));
    t += 1.0 / kTicksPerSecond;
    if (t > end) t = 0.0;
  }
}
BENCHMARK(BM_KeyframeLookup)->Arg(10)->Arg(1000)->Arg(100000);

}  // namespace
}  // namespace orv::host

BENCHMARK_MAIN();
