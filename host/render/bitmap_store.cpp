#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <algorithm>
#include <cstring>

#include "host/render/render.h"

namespace orv::render {
namespace {

std::uint32_t u32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// Decodes an uncompressed 24-bit bitmap: a BMP file image, or (`file_header`
// false) a bitmap resource, which starts at its info header. Null on
// anything else.
std::unique_ptr<Image> decode(const unsigned char* p, unsigned size, int variant, bool file_header) {
  const unsigned at = file_header ? 14 : 0;  // the info header
  if (!p || size < at + 40) return nullptr;
  if (file_header && (p[0] != 'B' || p[1] != 'M')) return nullptr;
  const std::uint32_t data = file_header ? u32(p + 10) : u32(p);
  const auto w = static_cast<std::int32_t>(u32(p + at + 4));
  const auto h_signed = static_cast<std::int32_t>(u32(p + at + 8));
  if (u16(p + at + 14) != 24 || u32(p + at + 16) != 0 || w <= 0 || h_signed == 0 || w > 16384) return nullptr;
  const bool bottom_up = h_signed > 0;
  const std::int32_t h = bottom_up ? h_signed : -h_signed;
  if (h > 16384) return nullptr;
  const std::uint64_t row = (static_cast<std::uint64_t>(w) * 3 + 3) & ~std::uint64_t(3);
  if (data > size || row * static_cast<std::uint64_t>(h) > size - data) return nullptr;
  const PixelFormat format = variant == 2   ? PixelFormat::alpha
                             : variant == 1 ? PixelFormat::argb
                                            : PixelFormat::rgb;
  auto s = std::make_unique<Image>(w, h, format);
  if (!s->valid()) return nullptr;
  unsigned char* out = s->data();
  const int stride = s->stride();
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
  s->changed();
  return s;
}

}  // namespace

BitmapStore::BitmapStore(ResourceFn resources) : resources_(resources) {}

BitmapStore BitmapStore::from_module(void* handle) {
#if defined(_WIN32)
  BitmapStore store(nullptr);
  store.windows_module_ = handle;
  return store;
#else
  void* fn = handle ? dlsym(handle, "orv_module_resource") : nullptr;
  return BitmapStore(reinterpret_cast<ResourceFn>(fn));
#endif
}

BitmapStore::BitmapStore(BitmapStore&& other) noexcept
    : resources_(other.resources_), windows_module_(other.windows_module_), cache_(std::move(other.cache_)) {
  other.cache_.clear();
}

BitmapStore::~BitmapStore() = default;

const Image* BitmapStore::get(unsigned id, Variant v) const {
  const std::uint64_t key = std::uint64_t(id) << 2 | v;
  auto it = cache_.find(key);
  if (it != cache_.end()) return it->second.get();
  std::unique_ptr<Image> s;
  if (resources_) {
    unsigned size = 0;
    const unsigned char* p = resources_("BITMAP", id, &size);
    s = decode(p, size, static_cast<int>(v), true);
  }
#if defined(_WIN32)
  if (windows_module_ != nullptr) {
    // Bitmap resources (type 2) hold the bitmap without its file header.
    const auto module = static_cast<HMODULE>(windows_module_);
    HRSRC r = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    HGLOBAL g = r != nullptr ? LoadResource(module, r) : nullptr;
    const auto* p = g != nullptr ? static_cast<const unsigned char*>(LockResource(g)) : nullptr;
    if (p != nullptr)
      s = decode(p, static_cast<unsigned>(SizeofResource(module, r)), static_cast<int>(v), false);
  }
#endif
  const Image* result = s.get();
  cache_.emplace(key, std::move(s));
  return result;
}

const Image* BitmapStore::image(unsigned id, bool black_transparent) const {
  return get(id, black_transparent ? kKeyed : kOpaque);
}

const Image* BitmapStore::mask(unsigned id) const { return get(id, kMask); }

bool BitmapStore::size(unsigned id, int* width, int* height) const {
  const Image* s = get(id, kOpaque);
  if (!s) return false;
  if (width) *width = s->width();
  if (height) *height = s->height();
  return true;
}

}  // namespace orv::render
