// Drawing surfaces of gauge instances. A static element whose flags hold
// 0x20 and 0x6 (0x26) is a surface the module draws on itself: the host gives
// it an image (`image.final_image`, whose `dim` is the surface size) and a
// device context: on Windows an HDC with a 32-bit top-down DIB section
// selected, on native builds a cairo_t* whose target is an ARGB32 image
// surface of that size. The size is the element's bitmap size. The renderer
// then shows what the module drew (render_gauge draws the device context's
// pixels in place of the bitmap).
#pragma once

#include <memory>
#include <vector>

#include "frame/gauge_abi.h"
#include "host/panel/gauge_instance.h"
#include "host/render/canvas.h"
#include "host/render/render.h"

namespace orv::render {

// Is this element a drawing surface?
bool is_drawing_surface(const abi::ElementHeader& e);

// Owns the images and device contexts handed to the instances' drawing
// surfaces; it must outlive the instances' use of them (the host's run).
class DrawingSurfaces {
 public:
  DrawingSurfaces() = default;
  ~DrawingSurfaces();
  DrawingSurfaces(const DrawingSurfaces&) = delete;
  DrawingSurfaces& operator=(const DrawingSurfaces&) = delete;

  // Gives every drawing-surface element of `instance` whose bitmap the store
  // knows an image and a device context; returns how many it attached. Call
  // before the host's start-up, which is when the module first looks.
  int attach(host::GaugeInstance& instance, const BitmapStore& bitmaps);
  std::size_t size() const { return surfaces_.size(); }

 private:
  struct Surface {
    std::unique_ptr<abi::Image> image;
    std::unique_ptr<Image> pixels;
  };
  std::vector<Surface> surfaces_;
};

}  // namespace orv::render
