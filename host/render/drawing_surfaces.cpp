#include "host/render/drawing_surfaces.h"

namespace orv::render {

using namespace orv::abi;

namespace {
constexpr u32 kSurfaceFlags = 0x26;
// The image format word: natively Cairo's ARGB32 (0), on Windows 32-bit
// colour.
#if defined(_WIN32)
constexpr u32 kSurfaceFormat = 32;
#else
constexpr u32 kSurfaceFormat = 0;
#endif
}  // namespace

bool is_drawing_surface(const ElementHeader& e) {
  return e.kind == kStaticImage && (e.flags & kSurfaceFlags) == kSurfaceFlags;
}

DrawingSurfaces::~DrawingSurfaces() = default;

int DrawingSurfaces::attach(host::GaugeInstance& instance, const BitmapStore& bitmaps) {
  int attached = 0;
  for (host::ElementSlot& slot : instance.elements()) {
    if (!is_drawing_surface(*slot.element)) continue;
    int w = 0, h = 0;
    if (!bitmaps.size(slot.element->bitmap, &w, &h) || w <= 0 || h <= 0) continue;
    Surface s;
    s.pixels = std::make_unique<Image>(w, h, PixelFormat::argb);
    void* dc = s.pixels->valid() ? s.pixels->device_context() : nullptr;
    if (dc == nullptr) continue;
    s.image = std::make_unique<abi::Image>();
    abi::Image& image = *s.image;
    image.format = kSurfaceFormat;
    image.dim = {w, h};
    image.pitch = static_cast<u32>(s.pixels->stride());
    image.length = image.pitch * static_cast<u32>(h);
    image.pixels = s.pixels->data();
    image.device = dc;
    auto* element = reinterpret_cast<StaticElement*>(slot.element);
    element->image.final_image = s.image.get();
    element->device_context = dc;
    surfaces_.push_back(std::move(s));
    ++attached;
  }
  return attached;
}

}  // namespace orv::render
