// The Cairo canvas leaves out the empty space of mostly transparent images:
// turned, scaled and masked, they must still come out as Cairo draws them
// whole, also after their pixels change.
#include "host/render/canvas_cairo.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "host/render/canvas.h"

namespace {

using orv::render::Canvas;
using orv::render::Image;
using orv::render::PixelFormat;
using orv::render::Placement;

constexpr int kSize = 160;

// A thin bar and a dot in a large transparent square: a needle's picture.
void draw_needle(Image& image, int bar_x, int dot_y) {
  unsigned char* rows = image.data();
  std::fill(rows, rows + static_cast<std::ptrdiff_t>(image.stride()) * image.height(), 0);
  auto put = [&](int x, int y, std::uint32_t px) {
    reinterpret_cast<std::uint32_t*>(rows + static_cast<std::ptrdiff_t>(y) * image.stride())[x] = px;
  };
  for (int y = 10; y < 110; ++y)
    for (int x = bar_x; x < bar_x + 3; ++x) put(x, y, 0xFF40C0FFu);
  put(100, dot_y, 0x80402000u);  // half transparent, premultiplied
  image.changed();
}

// A window whose coverage falls off from left to right.
void draw_window(Image& mask) {
  unsigned char* rows = mask.data();
  for (int y = 0; y < mask.height(); ++y)
    for (int x = 0; x < mask.width(); ++x)
      rows[static_cast<std::ptrdiff_t>(y) * mask.stride() + x] = static_cast<unsigned char>(255 - 2 * x);
  mask.changed();
}

// A background in which every pixel differs, so that any drawing shows.
void fill_background(Image& target) {
  unsigned char* rows = target.data();
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      reinterpret_cast<std::uint32_t*>(rows + static_cast<std::ptrdiff_t>(y) * target.stride())[x] =
          0xFF000000u | static_cast<std::uint32_t>(x) << 16 | static_cast<std::uint32_t>(y) << 8 | 0x30u;
  target.changed();
}

// The same drawing by Cairo alone, without the canvas.
void draw_reference(Image& target, const Image& image, const Placement& p, const Image* mask) {
  cairo_t* cr = cairo_create(orv::render::cairo_surface_of(target));
  cairo_translate(cr, p.x, p.y);
  cairo_rotate(cr, p.angle);
  cairo_translate(cr, p.dx, p.dy);
  cairo_scale(cr, p.sx, p.sy);
  cairo_set_source_surface(cr, orv::render::cairo_surface_of(image), -image.width() / 2.0,
                           -image.height() / 2.0);
  cairo_identity_matrix(cr);
  if (mask != nullptr)
    cairo_mask_surface(cr, orv::render::cairo_surface_of(*mask), 10, 20);
  else
    cairo_paint(cr);
  cairo_destroy(cr);
}

struct Comparison {
  int changed = 0;  // pixels the reference drew on
  int worst = 0;    // largest channel difference from the reference
};

Comparison compare(Image& drawn, Image& reference) {
  Comparison c;
  drawn.flush();
  reference.flush();
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      auto at = [&](Image& i) {
        return reinterpret_cast<const std::uint32_t*>(i.data() +
                                                      static_cast<std::ptrdiff_t>(y) * i.stride())[x];
      };
      const std::uint32_t a = at(drawn), b = at(reference);
      const std::uint32_t background =
          0xFF000000u | static_cast<std::uint32_t>(x) << 16 | static_cast<std::uint32_t>(y) << 8 | 0x30u;
      c.changed += b != background;
      for (int shift = 0; shift < 24; shift += 8)
        c.worst = std::max(
            c.worst, std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)));
    }
  return c;
}

TEST(CanvasCairo, SparseImagesComeOutAsCairoDrawsThemWhole) {
  struct Case {
    const char* name;
    double angle, scale;
    bool masked, redrawn;
  };
  const Case cases[] = {
      {"upright", 0.0, 1.0, false, false},
      {"turned a little", 0.3, 1.0, false, false},
      {"turned by 45 degrees, doubled", std::acos(-1.0) / 4, 2.0, false, false},
      {"turned back, enlarged by half", -2.4, 1.5, false, false},
      {"made a little smaller", 1.1, 0.8, false, false},
      {"made half as large (drawn whole)", 0.7, 0.5, false, false},
      {"through a window", 0.5, 1.25, true, false},
      {"its pixels changed after a drawing", 0.9, 1.0, true, true},
  };
  Image mask(120, 110, PixelFormat::alpha);
  draw_window(mask);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Image needle(120, 120, PixelFormat::argb);
    draw_needle(needle, 58, 20);
    const Placement p{80.0, 80.0, c.angle, 3.0, -5.0, c.scale, c.scale};
    const Image* window = c.masked ? &mask : nullptr;
    if (c.redrawn) {
      Image first(kSize, kSize, PixelFormat::rgb);
      Canvas(first).draw_image_placed(needle, p, window, 10, 20);
      draw_needle(needle, 20, 90);  // the bar and the dot elsewhere
    }
    Image drawn(kSize, kSize, PixelFormat::rgb), reference(kSize, kSize, PixelFormat::rgb);
    fill_background(drawn);
    fill_background(reference);
    Canvas(drawn).draw_image_placed(needle, p, window, 10, 20);
    draw_reference(reference, needle, p, window);
    const Comparison result = compare(drawn, reference);
    EXPECT_GT(result.changed, 100);
    // Cairo rounds the image's transformation about the centre of what it
    // composites: a level or two, never a missing edge.
    EXPECT_LE(result.worst, 2);
  }
}

}  // namespace
