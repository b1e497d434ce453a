// PNG files of Cairo image surfaces, written with libpng at a chosen zlib
// level and with one fixed row filter, which costs a fraction of the
// adaptive filtering that cairo_surface_write_to_png asks libpng for. The
// pixels are those Cairo would write: RGB24 as 8-bit RGB, ARGB32 as 8-bit
// RGBA un-premultiplied the way Cairo does it.
#pragma once

#include <cairo.h>

#include <string>

namespace orv::render {

// zlib levels: 0 stores, 1 is the fastest compression, 9 the smallest file.
inline constexpr int kFastPngLevel = 1;

// Writes `surface` to `path` at zlib level `level` (0 to 9): no row filter up
// to level 6 (the pictures are mostly flat colour, which zlib finds by
// itself; measured faster and smaller than "sub" or "up"), libpng's adaptive
// choice above.
// Surfaces of another format go through Cairo's own writer. Returns Cairo's
// status (CAIRO_STATUS_WRITE_ERROR when the file cannot be written).
cairo_status_t write_png(cairo_surface_t* surface, const std::string& path, int level = kFastPngLevel);

}  // namespace orv::render
