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

// Where the pixels of an uncompressed bitmap lie, 24 bits per pixel or 8
// with a palette: a BMP file image, or (`file_header` false) a bitmap
// resource, which starts at its info header. False on anything else.
struct Layout {
  std::int32_t width = 0, height = 0;
  bool bottom_up = false;
  unsigned bits = 0;          // 24 or 8
  std::uint32_t palette = 0;  // offset of the palette (8 bits)
  unsigned colours = 0;       // its entries
  std::uint32_t data = 0;     // offset of the first stored row
  std::uint64_t row = 0;      // bytes per stored row
};

bool layout_of(const unsigned char* p, unsigned size, bool file_header, Layout& l) {
  const unsigned at = file_header ? 14 : 0;  // the info header
  if (!p || size < at + 40) return false;
  if (file_header && (p[0] != 'B' || p[1] != 'M')) return false;
  const std::uint32_t info = u32(p + at);
  if (info < 40 || info > size - at) return false;
  l.width = static_cast<std::int32_t>(u32(p + at + 4));
  const auto h_signed = static_cast<std::int32_t>(u32(p + at + 8));
  l.bits = u16(p + at + 14);
  if ((l.bits != 24 && l.bits != 8) || u32(p + at + 16) != 0 || l.width <= 0 || h_signed == 0 ||
      l.width > 16384)
    return false;
  l.bottom_up = h_signed > 0;
  l.height = l.bottom_up ? h_signed : -h_signed;
  if (l.height > 16384) return false;
  if (l.bits == 8) {
    const std::uint32_t used = u32(p + at + 32);
    l.colours = used == 0 ? 256 : used;
    if (l.colours > 256) return false;
    l.palette = at + info;
    if (4 * l.colours > size - l.palette) return false;
  }
  // A resource's rows follow its header and palette; a file says where.
  l.data = file_header ? u32(p + 10) : info + 4 * l.colours;
  l.row = (static_cast<std::uint64_t>(l.width) * (l.bits / 8) + 3) & ~std::uint64_t(3);
  return l.data <= size && l.row * static_cast<std::uint64_t>(l.height) <= size - l.data;
}

// The colour of every pixel value as the variant draws it: 0 opaque
// (0xFFRRGGBB), 1 black transparent (0 for black), 2 a mask (the coverage,
// the brightest channel: a window mask shows its element where it is white,
// nothing where it is black, and in between as far as its grey level goes).
std::uint32_t as_variant(std::uint32_t rgb, int variant) {
  if (variant == 2) return std::max({rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16});
  if (variant == 1) return rgb != 0 ? 0xFF000000u | rgb : 0u;
  return 0xFF000000u | rgb;
}

void store(unsigned char* dst, std::int32_t x, std::uint32_t px, int variant) {
  if (variant == 2)
    dst[x] = static_cast<unsigned char>(px);
  else
    std::memcpy(dst + 4 * x, &px, 4);
}

// Decodes the bitmap as the variant asks. Null on anything but an
// uncompressed 24-bit or 8-bit palette bitmap. Pixel values beyond the
// palette are black.
std::unique_ptr<Image> decode(const unsigned char* p, unsigned size, int variant, bool file_header) {
  Layout l;
  if (!layout_of(p, size, file_header, l)) return nullptr;
  const std::int32_t w = l.width, h = l.height;
  const PixelFormat format = variant == 2   ? PixelFormat::alpha
                             : variant == 1 ? PixelFormat::argb
                                            : PixelFormat::rgb;
  auto s = std::make_unique<Image>(w, h, format);
  if (!s->valid()) return nullptr;
  std::uint32_t palette[256];
  for (unsigned i = 0; i < 256; ++i)
    palette[i] = as_variant(i < l.colours ? u32(p + l.palette + 4 * i) & 0xFFFFFFu : 0u, variant);
  unsigned char* out = s->data();
  const int stride = s->stride();
  for (std::int32_t y = 0; y < h; ++y) {
    const unsigned char* src = p + l.data + l.row * static_cast<std::uint64_t>(l.bottom_up ? h - 1 - y : y);
    unsigned char* dst = out + static_cast<std::ptrdiff_t>(y) * stride;
    if (l.bits == 8) {
      for (std::int32_t x = 0; x < w; ++x) store(dst, x, palette[src[x]], variant);
    } else {
      for (std::int32_t x = 0; x < w; ++x) {
        const std::uint32_t rgb =
            src[3 * x] | std::uint32_t(src[3 * x + 1]) << 8 | std::uint32_t(src[3 * x + 2]) << 16;
        store(dst, x, as_variant(rgb, variant), variant);
      }
    }
  }
  s->changed();
  return s;
}

}  // namespace

std::unique_ptr<Image> decode_bitmap(const unsigned char* bytes, unsigned size, bool file_header) {
  return decode(bytes, size, 0, file_header);
}

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

bool BitmapStore::bytes(unsigned id, const unsigned char** p, unsigned* size, bool* file_header) const {
  *p = nullptr;
  *size = 0;
  *file_header = true;
  if (resources_) *p = resources_("BITMAP", id, size);
#if defined(_WIN32)
  if (windows_module_ != nullptr) {
    // Bitmap resources (type 2) hold the bitmap without its file header.
    const auto module = static_cast<HMODULE>(windows_module_);
    HRSRC r = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    HGLOBAL g = r != nullptr ? LoadResource(module, r) : nullptr;
    const auto* q = g != nullptr ? static_cast<const unsigned char*>(LockResource(g)) : nullptr;
    if (q != nullptr) {
      *p = q;
      *size = static_cast<unsigned>(SizeofResource(module, r));
      *file_header = false;
    }
  }
#endif
  return *p != nullptr;
}

const Image* BitmapStore::get(unsigned id, Variant v) const {
  const std::uint64_t key = std::uint64_t(id) << 2 | v;
  auto it = cache_.find(key);
  if (it != cache_.end()) return it->second.get();
  std::unique_ptr<Image> s;
  const unsigned char* p = nullptr;
  unsigned size = 0;
  bool file_header = true;
  if (bytes(id, &p, &size, &file_header)) s = decode(p, size, static_cast<int>(v), file_header);
  const Image* result = s.get();
  cache_.emplace(key, std::move(s));
  return result;
}

const Image* BitmapStore::image(unsigned id, bool black_transparent) const {
  return get(id, black_transparent ? kKeyed : kOpaque);
}

const Image* BitmapStore::mask(unsigned id) const { return get(id, kMask); }

// Read from the bitmap's header: a size is asked for bitmaps that are then
// drawn in another variant, or not at all.
bool BitmapStore::size(unsigned id, int* width, int* height) const {
  const unsigned char* p = nullptr;
  unsigned size = 0;
  bool file_header = true;
  Layout l;
  if (!bytes(id, &p, &size, &file_header) || !layout_of(p, size, file_header, l)) return false;
  if (width) *width = l.width;
  if (height) *height = l.height;
  return true;
}

}  // namespace orv::render
