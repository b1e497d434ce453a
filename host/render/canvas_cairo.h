// What native code that works with Cairo directly (the live viewer) needs of
// the canvas's Cairo back end.
#pragma once

#include <cairo.h>

#include "host/render/canvas.h"

namespace orv::render {

// The Cairo image surface that holds `image`'s pixels; owned by the image.
cairo_surface_t* cairo_surface_of(const Image& image);

}  // namespace orv::render
