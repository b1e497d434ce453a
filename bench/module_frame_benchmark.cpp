// The module's whole cost in one steady frame of the yardstick flight (the
// ILS approach, HUD on): every call the host makes into the module in a
// frame (service 6 to every instance, every callback of every element of the
// open windows with the channel values the host last delivered, service 10),
// without the host's own work around them. The module's token reads still go
// through the host's service, as they do in the simulator.
//
// Global operator new is replaced by a counting one that tells the module's
// allocations (called from code in the module's file) from the host's (its
// services, which the module calls); a frame in which the module allocates
// fails the run.
//
// `module_frame_benchmark --callgrind N` runs N frames and exits, for
// scripts/callgrind_frame.sh, which counts the instructions of
// orv_bench_module_frame alone.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "host/panel/element_kind.h"
#include "yardstick.h"

namespace {

std::atomic<long> g_allocations{0};
std::atomic<long> g_module_allocations{0};
// The load address of the module's file, once it is loaded.
std::atomic<void*> g_module_base{nullptr};

}  // namespace

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* base = g_module_base.load(std::memory_order_relaxed)) {
    Dl_info info{};
    if (dladdr(__builtin_return_address(0), &info) != 0 && info.dli_fbase == base)
      g_module_allocations.fetch_add(1, std::memory_order_relaxed);
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using namespace orv::abi;

namespace {

// One call the host makes into the module: an element callback or a gauge
// service.
struct Call {
  ElementFn element_fn;
  void* element;
  GaugeFn gauge_fn;
  GaugeHeader* gauge;
  i32 service;
};

void add(std::vector<Call>& calls, ElementFn fn, void* e) {
  if (fn != nullptr) calls.push_back({fn, e, nullptr, nullptr, 0});
}

void add_elements(std::vector<Call>& calls, orv::host::GaugeInstance& g) {
  for (orv::host::ElementSlot& slot : g.elements()) {
    for (orv::host::ElementChannel& c : orv::host::element_channels(slot.element))
      add(calls, c.callback, slot.element);
  }
}

void add_service(std::vector<Call>& calls, orv::host::PlacedInstance& p, i32 service) {
  GaugeHeader& h = p.gauge->header();
  if (h.callback != nullptr) calls.push_back({nullptr, nullptr, h.callback, &h, service});
}

// The host's calls of one frame, in its order, once the windows are settled
// (the element copies keep the channel values the host last delivered).
std::vector<Call> frame_calls(orv::host::Host& host) {
  std::vector<Call> calls;
  for (auto& p : host.instances()) add_service(calls, p, kServicePreUpdate);
  for (std::size_t i = 0; i < host.instances().size(); ++i) {
    if (!host.shown(i)) continue;
    orv::host::PlacedInstance& p = host.instances()[i];
    add_elements(calls, *p.gauge);
    add_service(calls, p, kServicePreDraw);
  }
  return calls;
}

}  // namespace

// Not inlined and with a plain name, so that callgrind can count it alone.
extern "C" __attribute__((noinline)) void orv_bench_module_frame(const Call* calls, std::size_t count) {
  for (const Call* c = calls; c != calls + count; ++c) {
    if (c->element_fn != nullptr)
      benchmark::DoNotOptimize(c->element_fn(c->element));
    else
      c->gauge_fn(c->gauge, c->service, 0);
  }
}

namespace {

void run_frames(benchmark::State& bench, orv::bench::Yardstick& y) {
  Dl_info info{};
  if (dladdr(&y.module().linkage(), &info) != 0) g_module_base.store(info.dli_fbase);
  const std::vector<Call> calls = frame_calls(y.host());
  const long all = g_allocations.load(), module = g_module_allocations.load();
  for (auto _ : bench) orv_bench_module_frame(calls.data(), calls.size());
  const auto frames = static_cast<double>(bench.iterations());
  const long module_allocations = g_module_allocations.load() - module;
  bench.counters["module_allocs"] = static_cast<double>(module_allocations) / frames;
  bench.counters["host_allocs"] =
      static_cast<double>(g_allocations.load() - all - module_allocations) / frames;
  g_module_base.store(nullptr);
  bench.counters["calls"] = static_cast<double>(calls.size());
  if (module_allocations != 0) bench.SkipWithError("the module allocated in a frame");
}

// The yardstick: the fixed copy of the cockpit and its flight.
void BM_ModuleFrame(benchmark::State& bench) {
  orv::bench::Yardstick y(orv::bench::bench_module());
  run_frames(bench, y);
}
BENCHMARK(BM_ModuleFrame);

// The built-in cockpit as it is today (it grows; not the yardstick).
void BM_ModuleFrameBuiltInCockpit(benchmark::State& bench) {
  orv::bench::Yardstick y(orv::bench::bench_module(), orv::bench::kApproachFrame, ORV_DEFAULT_PANEL,
                          ORV_DEFAULT_SCENARIO);
  run_frames(bench, y);
}
BENCHMARK(BM_ModuleFrameBuiltInCockpit);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (argc == 3 && std::strcmp(argv[1], "--callgrind") == 0) {
    orv::bench::Yardstick y(orv::bench::bench_module());
    const std::vector<Call> calls = frame_calls(y.host());
    const long frames = std::strtol(argv[2], nullptr, 10);
    for (long f = 0; f < frames; ++f) orv_bench_module_frame(calls.data(), calls.size());
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
