// The fastest compression of PNG pictures: a zlib stream of a picture's
// scanlines (a filter byte, then the row's pixels) made of what the
// pictures of a cockpit mostly are, flat colour: a pixel repeated from the
// one to its left, and pixels repeated from the row above. Everything else
// is stored as literal bytes. Each block of the stream is Huffman-coded
// with codes fitted to its own symbols (a block that would grow is stored
// instead), so texts and bitmaps cost little more than with a general
// compressor, at a fraction of its time.
#pragma once

#include <cstddef>
#include <vector>

namespace orv::render {

// Writes scanline `y` (`1 + width * bpp` bytes) to `row`, which has room
// for 8 bytes more.
using ScanlineFn = void (*)(void* context, int y, unsigned char* row);

// Compresses `height` scanlines of `width` pixels of `bpp` bytes (3 or 4;
// width and height at least 1), each written by `scanline`, into `out`
// (grown as needed, never shrunk: a caller keeps it from picture to
// picture) as one zlib stream. Returns the stream's size.
std::size_t deflate_scanlines(int width, int height, int bpp, ScanlineFn scanline, void* context,
                              std::vector<unsigned char>& out);

}  // namespace orv::render
