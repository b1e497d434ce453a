// The pictures and the start-up of the yardstick flight (bench/data/), as
// `orvane-panel render` and `trace` make them:
//
//   BM_CockpitPicture/0   every shown instance drawn once, then the open
//                         windows composed from those pictures (no files)
//   BM_CockpitPicture/1   the same, and every picture written as PNG (the
//                         instances, the windows) at the default level
//   BM_CockpitPicture/2   the same written by cairo_surface_write_to_png,
//                         as render wrote them before (adaptive filters,
//                         zlib's default level), for comparison
//   BM_StartUp            the module loaded, the panel placed and started,
//                         one frame run and the module stopped: a one-frame
//                         trace without its output
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/render/drawing_surfaces.h"
#include "host/render/picture_memory.h"
#include "host/render/png_file.h"
#include "host/render/render.h"
#include "yardstick.h"

namespace {

using orv::host::PlacedInstance;

void set_colour(cairo_t* cr, std::uint32_t bgr) {
  cairo_set_source_rgb(cr, (bgr & 0xFF) / 255.0, ((bgr >> 8) & 0xFF) / 255.0, ((bgr >> 16) & 0xFF) / 255.0);
}

// One picture of the present moment; returns how many files it wrote.
enum Writer { kNoFiles = 0, kFastPng = 1, kCairoPng = 2 };

cairo_status_t write(cairo_surface_t* s, const std::string& path, Writer writer) {
  return writer == kCairoPng ? cairo_surface_write_to_png(s, path.c_str()) : orv::render::write_png(s, path);
}

int draw_cockpit(orv::host::Host& host, const orv::render::BitmapStore& bitmaps, Writer writer,
                 const std::string& dir) {
  const bool write_files = writer != kNoFiles;
  std::vector<cairo_surface_t*> pictures(host.instances().size(), nullptr);
  int files = 0;
  for (std::size_t i = 0; i < host.instances().size(); ++i) {
    if (!host.shown(i)) continue;
    const PlacedInstance& p = host.instances()[i];
    cairo_surface_t* s =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, p.width), std::max(1, p.height));
    cairo_t* cr = cairo_create(s);
    orv::render::render_gauge(cr, *p.gauge, p.width, p.height, bitmaps);
    cairo_destroy(cr);
    pictures[i] = s;
    if (write_files)
      files += write(s, dir + "/instance" + std::to_string(i) + ".png", writer) == CAIRO_STATUS_SUCCESS;
  }
  for (const orv::host::PanelWindow& w : host.windows()) {
    if (!host.state().window_open(w.number) || w.size_mm_x <= 0 || w.size_mm_y <= 0) continue;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w.size_mm_x, w.size_mm_y);
    cairo_t* cr = cairo_create(s);
    set_colour(cr, w.background_colour);
    cairo_paint(cr);
    for (std::size_t i = 0; i < host.instances().size(); ++i) {
      const PlacedInstance& p = host.instances()[i];
      if (p.window != w.number || pictures[i] == nullptr) continue;
      cairo_set_source_surface(cr, pictures[i], p.x, p.y);
      cairo_paint(cr);
    }
    cairo_destroy(cr);
    if (write_files)
      files += write(s, dir + "/window" + std::to_string(w.index) + ".png", writer) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
  }
  for (cairo_surface_t* s : pictures)
    if (s != nullptr) cairo_surface_destroy(s);
  return files;
}

void BM_CockpitPicture(benchmark::State& bench) {
  const auto writer = static_cast<Writer>(bench.range(0));
  const bool write = writer != kNoFiles;
  orv::render::DrawingSurfaces surfaces;
  std::unique_ptr<orv::render::BitmapStore> bitmaps;
  orv::bench::Yardstick y(
      orv::bench::bench_module(), orv::bench::kApproachFrame, ORV_YARDSTICK_PANEL, ORV_YARDSTICK_SCENARIO,
      [&](orv::host::Host& host) {
        bitmaps = std::make_unique<orv::render::BitmapStore>(
            orv::render::BitmapStore::from_module(reinterpret_cast<void*>(host.module().handle())));
        for (PlacedInstance& p : host.instances()) surfaces.attach(*p.gauge, *bitmaps);
      });
  char dir[] = "/tmp/orv_yardstick_benchmark_XXXXXX";
  if (write && mkdtemp(dir) == nullptr) {
    bench.SkipWithError("no temporary directory");
    return;
  }
  int files = 0;
  for (auto _ : bench) files = draw_cockpit(y.host(), *bitmaps, writer, dir);
  bench.counters["files"] = files;
  if (write) {
    const std::string command = std::string("rm -rf ") + dir;
    if (std::system(command.c_str()) != 0) bench.SkipWithError("cannot remove the temporary directory");
  }
}
BENCHMARK(BM_CockpitPicture)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_StartUp(benchmark::State& bench) {
  for (auto _ : bench) {
    orv::bench::Yardstick y(orv::bench::bench_module(), 0);
    benchmark::DoNotOptimize(y.host().instances().size());
  }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  orv::render::prepare_picture_memory();  // as orvane-panel render does
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
