// One map layer as the flight map paints it before a draw, on the native
// back end (Cairo on a 286 x 286 ARGB32 surface): the field, the aircraft
// and a flight plan of 100 waypoints spread over the map's range, the tenth
// active; the gauge's draw of the same map again, which paints nothing. A
// third case draws the element readouts of one update, which must not
// allocate (counted with a replaced operator new).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

#include "allocation_count.h"
#include "frame/registry.h"
#include "map/flight_map.h"
#include "map/map_test_support.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"

using orv::bench::g_allocations;

namespace {

using namespace orv;

// 100 waypoints on a spiral out to 25 km around the aircraft.
test::TestBlock hundred_waypoints() {
  test::TestBlock block;
  block.aircraft(test::latitude_fixed(45.0), test::longitude_fixed(6.0), 0.3);
  std::vector<test::TestWaypoint> plan;
  for (int i = 0; i < 100; ++i) {
    const double r = 250.0 * (i + 1), a = i * 0.7;
    plan.push_back({test::latitude_fixed(45.0) + test::metres_north(r * std::cos(a)),
                    test::longitude_fixed(6.0 + r * std::sin(a) / 78710.0), "WPT"});
  }
  block.plan(plan, 9);
  return block;
}

void MapLayer100Waypoints(benchmark::State& state) {
  test::TestBlock block = hundred_waypoints();
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 286, 286);
  cairo_t* cr = cairo_create(surface);
  const map::GpsView gps = map::read_gps_block(block.bytes);
  for (auto _ : state) {
    map::paint_map_layer(cr, 286, 286, gps);
    cairo_surface_flush(surface);
    benchmark::ClobberMemory();
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(MapLayer100Waypoints)->Unit(benchmark::kMicrosecond);

// The gauge's draw (service 10) when nothing moved: the layer is digested,
// found to be what the surface shows, and not painted; no allocation.
void MapUnchangedRedraw(benchmark::State& state) {
  test::FakeHost host;
  test::TestBlock block = hundred_waypoints();
  host.named_data["FS2002 GPS DATA"] = block.bytes;
  test::GaugeCopy gauge(gauges::flight_map);
  auto* element = gauge.as<abi::StaticElement>(gauge.find_bitmap(1410));  // the drawing surface
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 286, 286);
  cairo_t* cr = cairo_create(surface);
  abi::Image image{};
  image.dim = {286, 286};
  element->image.final_image = &image;
  element->device_context = cr;
  map::forget_painted_surfaces();
  gauge.service(abi::kServicePreDraw);  // the first paint
  const long before = g_allocations.load();
  for (auto _ : state) {
    gauge.service(abi::kServicePreDraw);
    benchmark::ClobberMemory();
  }
  const long allocations = g_allocations.load() - before;
  state.counters["allocations"] = static_cast<double>(allocations);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  map::gps_block = nullptr;
  if (allocations != 0) state.SkipWithError("the unchanged redraw allocated");
}
BENCHMARK(MapUnchangedRedraw)->Unit(benchmark::kMicrosecond);

void MapReadouts(benchmark::State& state) {
  test::FakeHost host;
  host.tokens = {{832, 216.0}, {834, 1.2}, {835, 12000.0}, {61, 420.0}, {84, 68.0}, {74, 12000.0}};
  host.text_tokens[839] = "ORVAN";
  test::GaugeCopy gauge(gauges::flight_map);
  const long before = g_allocations.load();
  for (auto _ : state) {
    for (std::size_t i = 2; i < gauge.size(); ++i) benchmark::DoNotOptimize(gauge.evaluate(i));
  }
  const long allocations = g_allocations.load() - before;
  state.counters["allocations"] = static_cast<double>(allocations);
  if (allocations != 0) state.SkipWithError("the readouts allocated");
}
BENCHMARK(MapReadouts);

}  // namespace

BENCHMARK_MAIN();
