#include "host/render/drawing_surfaces.h"

namespace orv::render {

using namespace orv::abi;

namespace {
constexpr u32 kSurfaceFlags = 0x26;
}

bool is_drawing_surface(const ElementHeader& e) {
  return e.kind == kStaticImage && (e.flags & kSurfaceFlags) == kSurfaceFlags;
}

DrawingSurfaces::~DrawingSurfaces() {
  for (Surface& s : surfaces_) {
    cairo_destroy(s.cr);
    cairo_surface_destroy(s.surface);
  }
}

int DrawingSurfaces::attach(host::GaugeInstance& instance, const BitmapStore& bitmaps) {
  int attached = 0;
  for (host::ElementSlot& slot : instance.elements()) {
    if (!is_drawing_surface(*slot.element)) continue;
    int w = 0, h = 0;
    if (!bitmaps.size(slot.element->bitmap, &w, &h) || w <= 0 || h <= 0) continue;
    Surface s;
    s.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    s.cr = cairo_create(s.surface);
    if (cairo_status(s.cr) != CAIRO_STATUS_SUCCESS) {
      cairo_destroy(s.cr);
      cairo_surface_destroy(s.surface);
      continue;
    }
    s.image = std::make_unique<Image>();
    Image& image = *s.image;
    image.format = static_cast<u32>(CAIRO_FORMAT_ARGB32);
    image.dim = {w, h};
    image.pitch = static_cast<u32>(cairo_image_surface_get_stride(s.surface));
    image.length = image.pitch * static_cast<u32>(h);
    image.pixels = cairo_image_surface_get_data(s.surface);
    image.device = s.cr;
    auto* element = reinterpret_cast<StaticElement*>(slot.element);
    element->image.final_image = s.image.get();
    element->device_context = s.cr;
    surfaces_.push_back(std::move(s));
    ++attached;
  }
  return attached;
}

}  // namespace orv::render
