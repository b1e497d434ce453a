// The whole cockpit: the built-in panel (data/panels/default) with the
// built-in flight run to its cruise among traffic (110 s: map overlay, radar
// pop-up) and then every window of the panel opened, so that one frame
// evaluates all 32 gauges in every place the panel gives them.
//
//   BM_WholeCockpitFrame   one host frame: service 6 to every instance, every
//                          element of every window evaluated, service 10
//   BM_WholeCockpitRender  the pictures of that frame at 1x: every window
//                          drawn with its instances, as `render` draws them
//
// Instructions per frame: scripts/cockpit_instructions.sh runs the frame
// benchmark under callgrind, counting only inside the frames.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/load/host_error.h"
#include "host/panel/host.h"
#include "host/render/drawing_surfaces.h"
#include "host/render/render.h"
#include "host/scenario/scenario.h"
#include "host/scenario/scenario_run.h"

namespace orv::host {
namespace {

constexpr double kCruise = 110.0;

// The module, host and flight, run to the cruise with every window open.
struct Cockpit {
  std::unique_ptr<Module> module = Module::load(ORV_REAL_MODULE);
  render::BitmapStore bitmaps = render::BitmapStore::from_module(reinterpret_cast<void*>(module->handle()));
  render::DrawingSurfaces surfaces;
  SimState state;
  Scenario scenario = parse_scenario(read_file(ORV_DEFAULT_SCENARIO), "default.json", "");
  PanelConfig panel = parse_panel_config(read_file(ORV_DEFAULT_PANEL), "panel.cfg");
  std::unique_ptr<Host> host = std::make_unique<Host>(*module, state);

  Cockpit() {
    std::vector<std::string> warnings;
    host->place(panel, warnings);
    for (PlacedInstance& p : host->instances()) surfaces.attach(*p.gauge, bitmaps);
    ScenarioRun run(*host, scenario, {}, {});
    run.apply_initial();
    host->start();
    for (long f = 0; f <= static_cast<long>(kCruise * kTicksPerSecond); ++f) {
      run.step([](const ScenarioClick&, std::optional<std::size_t>, const ClickResult&) {});
      state.clear_logs();
    }
    for (const PanelWindow& w : panel.windows) state.open_window(w.number);
    host->frame();
  }
  ~Cockpit() { host->stop(); }

  std::size_t gauges() const {
    std::set<std::string> names;
    for (const PlacedInstance& p : host->instances()) names.insert(p.gauge->name());
    return names.size();
  }
};

// One frame, out of line so that callgrind can count it alone
// (--toggle-collect='*cockpit_frame*').
// `frames_run` counts them over every run of the benchmark (its counter
// "frames_run" gives the divisor).
long frames_run = 0;
[[gnu::noinline]] void cockpit_frame(Host& host) {
  host.frame();
  ++frames_run;
}

void BM_WholeCockpitFrame(benchmark::State& bench) {
  Cockpit c;
  std::size_t elements = 0;
  for (std::size_t i = 0; i < c.host->instances().size(); ++i)
    elements += c.host->instance(i).elements().size();
  std::size_t frames = 0;
  for (auto _ : bench) {
    cockpit_frame(*c.host);
    if (++frames % 1024 == 0) c.state.clear_logs();
  }
  bench.counters["frames_run"] = static_cast<double>(frames_run);
  bench.counters["gauges"] = static_cast<double>(c.gauges());
  bench.counters["instances"] = static_cast<double>(c.host->instances().size());
  bench.counters["elements"] = static_cast<double>(elements);
}
BENCHMARK(BM_WholeCockpitFrame);

// Every window at its size_mm in pixels, each instance at its place and size.
void BM_WholeCockpitRender(benchmark::State& bench) {
  Cockpit c;
  long pixels = 0;
  for (auto _ : bench) {
    pixels = 0;
    for (const PanelWindow& w : c.panel.windows) {
      cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w.size_mm_x, w.size_mm_y);
      cairo_t* cr = cairo_create(s);
      for (std::size_t i = 0; i < c.host->instances().size(); ++i) {
        const PlacedInstance& p = c.host->instances()[i];
        if (p.window != w.number) continue;
        cairo_save(cr);
        cairo_translate(cr, p.x, p.y);
        render::render_gauge(cr, *p.gauge, p.width, p.height, c.bitmaps);
        cairo_restore(cr);
      }
      cairo_destroy(cr);
      cairo_surface_flush(s);
      benchmark::DoNotOptimize(cairo_image_surface_get_data(s));
      pixels += static_cast<long>(w.size_mm_x) * w.size_mm_y;
      cairo_surface_destroy(s);
    }
  }
  bench.counters["windows"] = static_cast<double>(c.panel.windows.size());
  bench.counters["pixels"] = static_cast<double>(pixels);
  bench.counters["frames_per_s"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WholeCockpitRender)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orv::host

BENCHMARK_MAIN();
