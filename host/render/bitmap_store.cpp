#include <dlfcn.h>

#include <algorithm>
#include <cstring>

#include "host/render/render.h"

namespace orv::render {
namespace {

std::uint32_t u32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// Decodes an uncompressed 24-bit BMP file image; null on anything else.
cairo_surface_t* decode(const unsigned char* p, unsigned size, int variant) {
  if (!p || size < 54 || p[0] != 'B' || p[1] != 'M') return nullptr;
  const std::uint32_t data = u32(p + 10);
  const auto w = static_cast<std::int32_t>(u32(p + 18));
  const auto h_signed = static_cast<std::int32_t>(u32(p + 22));
  if (u16(p + 28) != 24 || u32(p + 30) != 0 || w <= 0 || h_signed == 0 || w > 16384) return nullptr;
  const bool bottom_up = h_signed > 0;
  const std::int32_t h = bottom_up ? h_signed : -h_signed;
  if (h > 16384) return nullptr;
  const std::uint64_t row = (static_cast<std::uint64_t>(w) * 3 + 3) & ~std::uint64_t(3);
  if (data > size || row * static_cast<std::uint64_t>(h) > size - data) return nullptr;
  const cairo_format_t format = variant == 2   ? CAIRO_FORMAT_A8
                                : variant == 1 ? CAIRO_FORMAT_ARGB32
                                               : CAIRO_FORMAT_RGB24;
  cairo_surface_t* s = cairo_image_surface_create(format, w, h);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  unsigned char* out = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (std::int32_t y = 0; y < h; ++y) {
    const unsigned char* src = p + data + row * static_cast<std::uint64_t>(bottom_up ? h - 1 - y : y);
    unsigned char* dst = out + static_cast<std::ptrdiff_t>(y) * stride;
    for (std::int32_t x = 0; x < w; ++x) {
      const unsigned char b = src[3 * x], g = src[3 * x + 1], r = src[3 * x + 2];
      const bool black = (r | g | b) == 0;
      if (variant == 2) {
        // A window mask shows its element where it is white, nothing where
        // it is black, and in between as far as its grey level goes.
        dst[x] = std::max({r, g, b});
      } else {
        const std::uint32_t alpha = variant == 1 && black ? 0u : 0xFF000000u;
        const std::uint32_t px = alpha ? (alpha | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | b) : 0u;
        std::memcpy(dst + 4 * x, &px, 4);
      }
    }
  }
  cairo_surface_mark_dirty(s);
  return s;
}

}  // namespace

BitmapStore::BitmapStore(ResourceFn resources) : resources_(resources) {}

BitmapStore BitmapStore::from_module(void* dl_handle) {
  void* fn = dl_handle ? dlsym(dl_handle, "orv_module_resource") : nullptr;
  return BitmapStore(reinterpret_cast<ResourceFn>(fn));
}

BitmapStore::BitmapStore(BitmapStore&& other) noexcept
    : resources_(other.resources_), cache_(std::move(other.cache_)) {
  other.cache_.clear();
}

BitmapStore::~BitmapStore() {
  for (auto& [key, s] : cache_)
    if (s) cairo_surface_destroy(s);
}

cairo_surface_t* BitmapStore::get(unsigned id, Variant v) const {
  const std::uint64_t key = std::uint64_t(id) << 2 | v;
  auto it = cache_.find(key);
  if (it != cache_.end()) return it->second;
  cairo_surface_t* s = nullptr;
  if (resources_) {
    unsigned size = 0;
    const unsigned char* p = resources_("BITMAP", id, &size);
    s = decode(p, size, static_cast<int>(v));
  }
  cache_.emplace(key, s);
  return s;
}

cairo_surface_t* BitmapStore::image(unsigned id, bool black_transparent) const {
  return get(id, black_transparent ? kKeyed : kOpaque);
}

cairo_surface_t* BitmapStore::mask(unsigned id) const { return get(id, kMask); }

bool BitmapStore::size(unsigned id, int* width, int* height) const {
  cairo_surface_t* s = get(id, kOpaque);
  if (!s) return false;
  if (width) *width = cairo_image_surface_get_width(s);
  if (height) *height = cairo_image_surface_get_height(s);
  return true;
}

}  // namespace orv::render
