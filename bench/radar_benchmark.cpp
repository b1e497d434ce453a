// One full traffic picture on the native back end: the traffic refresh of
// 100 aircraft (service calls, great-circle geometry, sort and matching
// against the previous list) and the drawing of rings, symbols, vectors and
// tags into a 286 x 286 Cairo surface, with the heap allocations a picture
// makes (Cairo's and pixman's included: malloc is counted too).
// `RadarUnchangedRedraw` is the gauge's picture tick when nothing it draws
// from changed: the refresh and the digest, no drawing, no allocation. A
// third case measures the update that draws no picture (one tick read, 37:
// not a multiple of 18), with the allocations it makes (expected: 0).
//
// `radar_benchmark --callgrind picture|unchanged N` draws N pictures of 100
// aircraft (moving, or still and settled) through orv_bench_radar_picture
// and exits, for callgrind's instruction count of that function alone
// (docs/performance.md).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "allocation_count.h"
#include "frame/registry.h"
#include "support/fake_host.h"
#include "support/gauge_copy.h"
#include "traffic/fake_traffic.h"
#include "traffic/radar_display.h"

using orv::bench::g_allocations;

// Every heap allocation, C and C++ alike (operator new ends in malloc):
// glibc lets the program replace malloc, calloc, realloc and free.
extern "C" void* __libc_malloc(std::size_t);
extern "C" void* __libc_calloc(std::size_t, std::size_t);
extern "C" void* __libc_realloc(void*, std::size_t);
extern "C" void __libc_free(void*);
static std::atomic<long> g_heap_allocations{0};
extern "C" void* malloc(std::size_t size) {
  g_heap_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size);
}
extern "C" void* calloc(std::size_t n, std::size_t size) {
  g_heap_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(n, size);
}
extern "C" void* realloc(void* p, std::size_t size) {
  g_heap_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(p, size);
}
extern "C" void free(void* p) { __libc_free(p); }

// Not inlined and with a plain name, so that callgrind can count it alone.
extern "C" __attribute__((noinline)) void orv_bench_radar_picture(orv::traffic::RadarDisplay* display) {
  display->draw_picture();
}

namespace {

using namespace orv;

const test::FakeHost* g_quiet_host = nullptr;

// Token reads without the fake host's call log, which allocates as it grows.
void ORV_CALL quiet_lookup(abi::TokenVar* var) { g_quiet_host->deliver(*var); }

struct Scene {
  test::FakeHost host;
  test::FakeTraffic traffic{host};
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 286, 286);
  cairo_t* cr = cairo_create(surface);
  abi::Image image{};
  abi::StaticElement element{};

  explicit Scene(int aircraft) {
    g_quiet_host = &host;
    host.table[abi::kSlotLookupVar] = reinterpret_cast<void*>(&quiet_lookup);
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

// The aircraft move one second's way between two pictures.
void BM_RadarPicture(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  traffic::RadarDisplay display;
  display.set_up(&scene.element.h, 286, 286);
  double& clock = scene.host.tokens[traffic::kClockToken];
  for (int i = 0; i < 2; ++i) orv_bench_radar_picture(&display);  // the list's and the fonts' first use
  const long before = g_heap_allocations.load();
  for (auto _ : state) {
    clock += 1.0;
    for (test::FakeAircraft& a : scene.traffic.aircraft) a.lat += a.north / 3600.0 / 60.0;
    orv_bench_radar_picture(&display);
  }
  state.counters["heap allocations"] = benchmark::Counter(
      static_cast<double>(g_heap_allocations.load() - before), benchmark::Counter::kAvgIterations);
  benchmark::DoNotOptimize(display.label());
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RadarPicture)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond)->Complexity();

// The gauge's picture tick (service 6 at tick 36) when nothing it draws from
// changed: 100 aircraft standing still, the same heading, range and power.
// The first pictures settle the disc's rim; after them the display digests
// what it would draw and draws nothing.
void RadarUnchangedRedraw(benchmark::State& state) {
  Scene scene(100);
  scene.host.tokens[1] = 36.0;  // the tick: a picture
  test::GaugeCopy gauge(gauges::radar);
  auto* surface = gauge.as<abi::StaticElement>(gauge.find_bitmap(3010));  // the drawing surface
  surface->image.final_image = &scene.image;
  surface->device_context = scene.cr;
  gauge.service(abi::kServicePanelOpen);
  gauge.service(abi::kServicePostInstall);
  for (int i = 0; i < 300; ++i) gauge.service(abi::kServicePreUpdate);
  const long before = g_heap_allocations.load();
  for (auto _ : state) gauge.service(abi::kServicePreUpdate);
  const long allocations = g_heap_allocations.load() - before;
  state.counters["heap allocations"] = static_cast<double>(allocations);
  gauge.service(abi::kServicePreKill);
  gauge.service(abi::kServicePanelClose);
  if (allocations != 0) state.SkipWithError("the unchanged redraw allocated");
}
BENCHMARK(RadarUnchangedRedraw)->Unit(benchmark::kMicrosecond);

void BM_RadarUpdateWithoutPicture(benchmark::State& state) {
  Scene scene(100);
  scene.host.tokens[1] = 37.0;
  test::GaugeCopy gauge(gauges::radar);
  gauge.service(abi::kServicePanelOpen);
  const long before = g_allocations.load();
  for (auto _ : state) gauge.service(abi::kServicePreUpdate);
  state.counters["allocations"] = static_cast<double>(g_allocations.load() - before);
  gauge.service(abi::kServicePanelClose);
}
BENCHMARK(BM_RadarUpdateWithoutPicture);

// N pictures for callgrind: "picture" moves the aircraft between pictures,
// "unchanged" does not (after 300 pictures that settle the rim).
int run_for_callgrind(const char* what, long pictures) {
  const bool moving = std::strcmp(what, "picture") == 0;
  if (!moving && std::strcmp(what, "unchanged") != 0) return 2;
  Scene scene(100);
  traffic::RadarDisplay display;
  display.set_up(&scene.element.h, 286, 286);
  if (!moving)
    for (int i = 0; i < 300; ++i) display.draw_picture();
  double& clock = scene.host.tokens[traffic::kClockToken];
  for (long p = 0; p < pictures; ++p) {
    if (moving) {
      clock += 1.0;
      for (test::FakeAircraft& a : scene.traffic.aircraft) a.lat += a.north / 3600.0 / 60.0;
    }
    orv_bench_radar_picture(&display);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--callgrind") == 0)
    return run_for_callgrind(argv[2], std::strtol(argv[3], nullptr, 10));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
