// The drawing surface a host gives a gauge's own-drawing element: a 32-bit
// image of width x height pixels and a device context on it (a GDI memory DC
// over a top-down DIB section on Windows, a Cairo context natively), and the
// pixels read back.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "frame/gauge_abi.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <cairo.h>
#endif

namespace orv::test {

class DrawingSurface {
 public:
  // Every byte of the image starts as `fill`.
  DrawingSurface(int width, int height, std::uint8_t fill = 0) : width(width), height(height) {
    image.dim = {width, height};
#if defined(_WIN32)
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    SelectObject(dc_, bitmap_);
    if (bits_ != nullptr) std::memset(bits_, fill, static_cast<std::size_t>(width) * height * 4);
#else
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cr_ = cairo_create(surface_);
    cairo_surface_flush(surface_);
    std::memset(cairo_image_surface_get_data(surface_), fill,
                static_cast<std::size_t>(cairo_image_surface_get_stride(surface_)) * height);
    cairo_surface_mark_dirty(surface_);
#endif
  }
  ~DrawingSurface() {
#if defined(_WIN32)
    DeleteDC(dc_);
    DeleteObject(bitmap_);
#else
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
#endif
  }
  DrawingSurface(const DrawingSurface&) = delete;
  DrawingSurface& operator=(const DrawingSurface&) = delete;

#if defined(_WIN32)
  void* device_context() { return dc_; }
#else
  void* device_context() { return cr_; }
  cairo_t* cairo() { return cr_; }
#endif

  // Gives a static element this surface, as the host does before a draw.
  void attach(abi::ElementHeader* e) {
    auto* s = reinterpret_cast<abi::StaticElement*>(e);
    s->image.final_image = &image;
    s->device_context = device_context();
  }

  // Pixel (x, y) as 0x00RRGGBB; 0 outside the image.
  std::uint32_t pixel(int x, int y) {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    std::uint32_t p;
    std::memcpy(&p, data() + static_cast<std::size_t>(y) * stride() + 4 * x, 4);
    return p & 0xFFFFFFu;
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

  // Every pixel, rows top down, as blue, green, red, 0 bytes.
  std::vector<unsigned char> bgra() {
    std::vector<unsigned char> out(static_cast<std::size_t>(width) * height * 4);
    const unsigned char* d = data();
    for (int y = 0; y < height; ++y)
      std::memcpy(&out[static_cast<std::size_t>(y) * width * 4], d + y * stride(), width * 4);
    for (std::size_t i = 3; i < out.size(); i += 4) out[i] = 0;
    return out;
  }

  const int width, height;
  abi::Image image{};

 private:
#if defined(_WIN32)
  const unsigned char* data() {
    GdiFlush();
    return static_cast<const unsigned char*>(bits_);
  }
  std::size_t stride() const { return static_cast<std::size_t>(width) * 4; }
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  void* bits_ = nullptr;
#else
  const unsigned char* data() {
    cairo_surface_flush(surface_);
    return cairo_image_surface_get_data(surface_);
  }
  std::size_t stride() const { return static_cast<std::size_t>(cairo_image_surface_get_stride(surface_)); }
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
#endif
};

}  // namespace orv::test
