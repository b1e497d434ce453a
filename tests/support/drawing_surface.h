// The drawing surface a host gives a gauge's own-drawing element: a 32-bit
// image of width x height pixels and a Cairo context on it, and the pixels
// read back. (The Windows back ends are compared with this one by rendering
// whole scenarios under Wine: tests/golden/wine_pictures.sh.)
#pragma once

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "frame/gauge_abi.h"

namespace orv::test {

class DrawingSurface {
 public:
  // Every byte of the image starts as `fill`.
  DrawingSurface(int width, int height, std::uint8_t fill = 0)
      : width(width),
        height(height),
        surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
        cr_(cairo_create(surface_)) {
    image.dim = {width, height};
    cairo_surface_flush(surface_);
    std::memset(cairo_image_surface_get_data(surface_), fill,
                static_cast<std::size_t>(cairo_image_surface_get_stride(surface_)) * height);
    cairo_surface_mark_dirty(surface_);
  }
  ~DrawingSurface() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }
  DrawingSurface(const DrawingSurface&) = delete;
  DrawingSurface& operator=(const DrawingSurface&) = delete;

  cairo_t* cairo() { return cr_; }

  // Gives a static element this surface, as the host does before a draw.
  void attach(abi::ElementHeader* e) {
    auto* s = reinterpret_cast<abi::StaticElement*>(e);
    s->image.final_image = &image;
    s->device_context = cr_;
  }

  // Pixel (x, y) as 0x00RRGGBB; 0 outside the image.
  std::uint32_t pixel(int x, int y) {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    cairo_surface_flush(surface_);
    std::uint32_t p;
    std::memcpy(&p,
                cairo_image_surface_get_data(surface_) +
                    static_cast<std::size_t>(y) * cairo_image_surface_get_stride(surface_) + 4 * x,
                4);
    return p & 0xFFFFFFu;
  }

  // Every pixel as the image holds it (0xAARRGGBB), row by row.
  std::vector<std::uint32_t> pixels() {
    cairo_surface_flush(surface_);
    std::vector<std::uint32_t> all(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
      std::memcpy(&all[static_cast<std::size_t>(y) * width],
                  cairo_image_surface_get_data(surface_) +
                      static_cast<std::size_t>(y) * cairo_image_surface_get_stride(surface_),
                  4 * static_cast<std::size_t>(width));
    return all;
  }

  // 0xFF in each colour channel brighter than a quarter within `r` pixels of
  // (x, y) (thin lines are anti-aliased).
  std::uint32_t colours_around(double x, double y, int r) {
    std::uint32_t mask = 0;
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx) {
        const std::uint32_t p = pixel(static_cast<int>(x) + dx, static_cast<int>(y) + dy);
        for (int k = 0; k < 3; ++k)
          if (((p >> (16 - 8 * k)) & 0xFF) > 0x40) mask |= 0xFFu << (16 - 8 * k);
      }
    return mask;
  }

  const int width, height;
  abi::Image image{};

 private:
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

}  // namespace orv::test
