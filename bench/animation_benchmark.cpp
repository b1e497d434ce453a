// One frame added to each animation format, on a cockpit-sized sequence
// (1056 x 864) whose frames differ the way the built-in flight's do: a still
// panel with anti-aliased text and a few instruments whose pointers and a
// ladder move; this isolates the encoders from the drawing. And the drawing
// alone: the built-in flight's screen composed frame by frame, whole or
// only where it changed (docs/performance.md has the whole run's figures).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "animation.h"
#include "host/panel/screen_layout.h"
#include "host/render/drawing_surfaces.h"
#include "screen_painter.h"
#include "yardstick.h"

namespace {

constexpr int kWidth = 1056, kHeight = 864, kFrames = 24;

// Frame k of the sequence as 0xFFRRGGBB words.
std::vector<std::uint32_t> draw(int k) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 0.2, 0.22, 0.24);
  cairo_paint(cr);
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 11);
  for (int row = 0; row < 40; ++row) {
    cairo_set_source_rgb(cr, 0.85, 0.87, 0.9);
    cairo_move_to(cr, 20, 20 + 21 * row);
    cairo_show_text(cr, "ENG 1  N2 98.4  EGT 612  FF 3400  OIL 42  HYD 3000");
  }
  for (int dial = 0; dial < 6; ++dial) {
    const double cx = 560 + 160 * (dial % 3), cy = 160 + 300 * (dial / 3), a = 0.05 * k * (dial + 1);
    cairo_set_source_rgb(cr, 0.03, 0.04, 0.05);
    cairo_arc(cr, cx, cy, 70, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.1, 1.0, 0.2);
    cairo_set_line_width(cr, 2.5);
    for (int line = -3; line <= 3; ++line) {
      const double y = cy + 18 * line + 4 * std::sin(a);
      cairo_move_to(cr, cx - 40 * std::cos(a), y - 40 * std::sin(a));
      cairo_line_to(cr, cx + 40 * std::cos(a), y + 40 * std::sin(a));
    }
    cairo_stroke(cr);
  }
  cairo_destroy(cr);
  cairo_surface_flush(s);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  for (int y = 0; y < kHeight; ++y)
    std::memcpy(&pixels[static_cast<std::size_t>(y) * kWidth],
                cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s), 4 * kWidth);
  cairo_surface_destroy(s);
  return pixels;
}

const std::vector<std::vector<std::uint32_t>>& frames() {
  static const auto all = [] {
    std::vector<std::vector<std::uint32_t>> v;
    for (int k = 0; k < kFrames; ++k) v.push_back(draw(k));
    return v;
  }();
  return all;
}

// Adds one frame per iteration (the sequence over and over); the bytes per
// frame are reported once the file is closed. The GIF at its default loss
// and at loss 0 (each pixel in its palette's nearest entry).
void AddFrame(benchmark::State& state, const char* extension, int gif_loss) {
  const std::string path = std::string("/tmp/orv_animation_benchmark") + extension;
  auto animation = orv::panel_tool::Animation::open(path, 6.0, 1.0, gif_loss);
  const auto& f = frames();
  std::size_t k = 0;
  for (auto _ : state) {
    animation->add(reinterpret_cast<const unsigned char*>(f[k].data()), kWidth, kHeight, 4 * kWidth);
    k = (k + 1) % f.size();
  }
  animation->close();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  std::fseek(file, 0, SEEK_END);
  state.counters["bytes_per_frame"] =
      static_cast<double>(std::ftell(file)) / static_cast<double>(state.iterations());
  std::fclose(file);
  std::remove(path.c_str());
}
BENCHMARK_CAPTURE(AddFrame, gif, ".gif", orv::panel_tool::kDefaultGifLoss)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddFrame, gif_loss0, ".gif", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddFrame, webp, ".webp", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddFrame, mp4, ".mp4", 0)->Unit(benchmark::kMillisecond);

// The built-in flight's screen at 6 frames a second from 100 s on (turns,
// page changes, the map and the radar): per iteration three simulated
// frames, then the screen composed whole into a fresh picture, as a still
// picture is, or painted again on the kept picture where it changed, as
// the animation's frames are. A fixed number of iterations: the same
// stretch of the flight for both.
void ScreenFrame(benchmark::State& state, bool changed_only) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);  // the module's sound: no device
  orv::render::DrawingSurfaces surfaces;
  std::unique_ptr<orv::render::BitmapStore> bitmaps;
  orv::bench::Yardstick y(
      orv::bench::bench_module(), 1800, ORV_DEFAULT_PANEL, ORV_DEFAULT_SCENARIO, [&](orv::host::Host& host) {
        bitmaps = std::make_unique<orv::render::BitmapStore>(
            orv::render::BitmapStore::from_module(reinterpret_cast<void*>(host.module().handle())));
        for (auto& p : host.instances()) surfaces.attach(*p.gauge, *bitmaps);
      });
  const orv::host::ScreenLayout layout(y.host().windows(), y.host().instances());
  orv::panel_tool::ScreenPainter painter(y.host(), layout, *bitmaps, "");
  const orv::host::ScreenSize screen = layout.screen();
  constexpr orv::render::Colour kSurround{0.12, 0.13, 0.14};
  orv::render::Image kept(screen.width, screen.height, orv::render::PixelFormat::rgb);
  bool fresh = true;
  for (auto _ : state) {
    for (int tick = 0; tick < 3; ++tick) y.step();
    if (changed_only) {
      orv::render::Canvas canvas(kept);
      painter.update_screen(canvas, fresh, kSurround);
      fresh = false;
    } else {
      orv::render::Image picture(screen.width, screen.height, orv::render::PixelFormat::rgb);
      orv::render::Canvas canvas(picture);
      canvas.paint(kSurround);
      painter.paint_screen(canvas);
    }
  }
}
BENCHMARK_CAPTURE(ScreenFrame, whole, false)->Iterations(360)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScreenFrame, changed_only, true)->Iterations(360)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
