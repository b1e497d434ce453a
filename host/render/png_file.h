// PNG files of Cairo image surfaces: without row filters up to level 6 (the
// pictures are mostly flat colour), at a fraction of the cost of
// cairo_surface_write_to_png, with libpng's adaptive filters above. The pixels are those Cairo would write:
// RGB24 as 8-bit RGB, ARGB32 as 8-bit RGBA un-premultiplied the way Cairo does it.
#pragma once

#include <cairo.h>

#include <string>

namespace orv::render {

// Levels: 0 stores, 1 is the fastest (png_deflate.h: runs of colour only),
// 2 to 9 are zlib's levels (libdeflate's up to 6 where it is installed), 9
// the smallest file.
inline constexpr int kFastPngLevel = 1;

// Writes `surface` to `path` at `level` (0 to 9).
// Surfaces of another format go through Cairo's own writer. Returns Cairo's
// status (CAIRO_STATUS_WRITE_ERROR when the file cannot be written).
cairo_status_t write_png(cairo_surface_t* surface, const std::string& path, int level = kFastPngLevel);

}  // namespace orv::render
