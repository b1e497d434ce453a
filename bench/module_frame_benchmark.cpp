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

void call(TokenVar&, ElementFn fn, void* e) {
  if (fn != nullptr) benchmark::DoNotOptimize(fn(e));
}

void evaluate(orv::host::GaugeInstance& g) {
  for (orv::host::ElementSlot& slot : g.elements()) {
    ElementHeader* e = slot.element;
    switch (e->kind) {
      case kNeedle: {
        auto* n = reinterpret_cast<NeedleElement*>(e);
        call(n->source, n->callback, e);
        break;
      }
      case kText: {
        auto* t = reinterpret_cast<TextElement*>(e);
        for (int i = 0; i < 3; ++i) call(t->source[i], t->callback[i], e);
        break;
      }
      case kSlider: {
        auto* s = reinterpret_cast<SliderElement*>(e);
        call(s->x, s->x_callback, e);
        call(s->y, s->y_callback, e);
        break;
      }
      case kIcon: {
        auto* i = reinterpret_cast<IconElement*>(e);
        call(i->source, i->callback, e);
        break;
      }
      case kMovingImage: {
        auto* m = reinterpret_cast<MovingImageElement*>(e);
        call(m->x, m->x_callback, e);
        call(m->y, m->y_callback, e);
        break;
      }
      case kSprite: {
        auto* s = reinterpret_cast<SpriteElement*>(e);
        call(s->x, s->x_callback, e);
        call(s->y, s->y_callback, e);
        call(s->angle, s->angle_callback, e);
        break;
      }
      default:
        break;
    }
  }
}

void gauge_service(orv::host::PlacedInstance& p, i32 service) {
  GaugeHeader& h = p.gauge->header();
  if (h.callback != nullptr) h.callback(&h, service, 0);
}

}  // namespace

// Not inlined and with a plain name, so that callgrind can count it alone.
extern "C" __attribute__((noinline)) void orv_bench_module_frame(orv::host::Host* host) {
  for (auto& p : host->instances()) gauge_service(p, kServicePreUpdate);
  for (std::size_t i = 0; i < host->instances().size(); ++i) {
    if (!host->shown(i)) continue;
    orv::host::PlacedInstance& p = host->instances()[i];
    evaluate(*p.gauge);
    gauge_service(p, kServicePreDraw);
  }
}

namespace {

void run_frames(benchmark::State& bench, orv::bench::Yardstick& y) {
  Dl_info info{};
  if (dladdr(&y.module().linkage(), &info) != 0) g_module_base.store(info.dli_fbase);
  const long all = g_allocations.load(), module = g_module_allocations.load();
  for (auto _ : bench) orv_bench_module_frame(&y.host());
  const auto frames = static_cast<double>(bench.iterations());
  const long module_allocations = g_module_allocations.load() - module;
  bench.counters["module_allocs"] = static_cast<double>(module_allocations) / frames;
  bench.counters["host_allocs"] = static_cast<double>(g_allocations.load() - all - module_allocations) / frames;
  g_module_base.store(nullptr);
  if (module_allocations != 0) bench.SkipWithError("the module allocated in a frame");
}

// The yardstick: the fixed copy of the cockpit and its flight.
void BM_ModuleFrame(benchmark::State& bench) {
  orv::bench::Yardstick y(ORV_REAL_MODULE);
  run_frames(bench, y);
}
BENCHMARK(BM_ModuleFrame);

// The built-in cockpit as it is today (it grows; not the yardstick).
void BM_ModuleFrameBuiltInCockpit(benchmark::State& bench) {
  orv::bench::Yardstick y(ORV_REAL_MODULE, orv::bench::kApproachFrame, ORV_DEFAULT_PANEL, ORV_DEFAULT_SCENARIO);
  run_frames(bench, y);
}
BENCHMARK(BM_ModuleFrameBuiltInCockpit);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (argc == 3 && std::strcmp(argv[1], "--callgrind") == 0) {
    orv::bench::Yardstick y(ORV_REAL_MODULE);
    const long frames = std::strtol(argv[2], nullptr, 10);
    for (long f = 0; f < frames; ++f) orv_bench_module_frame(&y.host());
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
