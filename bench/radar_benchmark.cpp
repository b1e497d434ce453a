// One full traffic picture on the native back end: the traffic refresh of
// 100 aircraft (service calls, great-circle geometry, sort and matching
// against the previous list) and the drawing of rings, symbols, vectors and
// tags into a 286 x 286 Cairo surface. A second case measures the update
// that draws no picture (one tick read, 37: not a multiple of 18), with the
// allocations it makes
// (expected: 0).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

#include "allocation_count.h"
#include "frame/registry.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"
#include "traffic/fake_traffic.h"
#include "traffic/radar_display.h"

using orv::bench::g_allocations;

namespace {

using namespace orv;

struct Scene {
  test::FakeHost host;
  test::FakeTraffic traffic{host};
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 286, 286);
  cairo_t* cr = cairo_create(surface);
  abi::Image image{};
  abi::StaticElement element{};

  explicit Scene(int aircraft) {
    host.tokens[numbers::kTokenAvionicsSupply] = 28.0;
    host.tokens[86] = 30.0;
    image.dim = {286, 286};
    element.image.final_image = &image;
    element.device_context = cr;
    for (int i = 0; i < aircraft; ++i) {
      test::FakeAircraft a;
      a.id = static_cast<abi::u32>(1000 + (i * 7919) % 100003);  // not in id order
      const double bearing = i * 0.37, distance = 0.5 + (i % 14);
      a.lat = distance * std::cos(bearing) / 60.0;
      a.lon = distance * std::sin(bearing) / 60.0;
      a.alt = -3000.0 + 61.0 * i;
      a.north = 200.0 * std::cos(i * 1.1);
      a.east = 200.0 * std::sin(i * 1.1);
      a.atc = "TRAFFIC";
      traffic.aircraft.push_back(a);
    }
  }
  ~Scene() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
};

void BM_RadarPicture(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  traffic::RadarDisplay display;
  display.set_up(&scene.element.h, 286, 286);
  double clock = 0.0;
  for (auto _ : state) {
    scene.host.tokens[traffic::kClockToken] = clock += 1.0;
    display.draw_picture();
  }
  benchmark::DoNotOptimize(display.label());
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RadarPicture)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond)->Complexity();

// The tick read without the fake host's call log, which allocates as it grows.
void ORV_CALL quiet_lookup(abi::TokenVar* var) { var->value.n = 37.0; }

void BM_RadarUpdateWithoutPicture(benchmark::State& state) {
  Scene scene(100);
  scene.host.table[abi::kSlotLookupVar] = reinterpret_cast<void*>(&quiet_lookup);
  test::GaugeCopy gauge(gauges::radar);
  gauge.service(abi::kServicePanelOpen);
  const long before = g_allocations.load();
  for (auto _ : state) gauge.service(abi::kServicePreUpdate);
  state.counters["allocations"] = static_cast<double>(g_allocations.load() - before);
  gauge.service(abi::kServicePanelClose);
}
BENCHMARK(BM_RadarUpdateWithoutPicture);

}  // namespace

BENCHMARK_MAIN();
