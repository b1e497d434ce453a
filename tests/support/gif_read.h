// A GIF read back for the tests (images drawn over the screen as it is,
// their transparent pixels leaving it), strictly: a stream that a lenient decoder
// would still show (a code beyond the table, a wrong sub-block length,
// missing or extra pixels, bytes after the end code) is an error here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::test {

struct GifFrame {
  int delay_cs = 0;
  int table_size = 0;                 // entries of the frame's colour table
  std::vector<std::uint32_t> pixels;  // the whole screen after the frame, 0xRRGGBB
  int image[4] = {0, 0, 0, 0};        // the image stored: x, y, width, height
  std::vector<std::uint32_t> table;   // its colour table, 0xRRGGBB
  std::vector<std::uint8_t> indices;  // its indices, row after row
  int transparent = -1;               // its transparent index, or -1
};

struct Gif {
  int width = 0, height = 0;
  int loop_count = -1;  // NETSCAPE2.0 repetitions (0: forever); -1: none
  std::vector<GifFrame> frames;
};

// An empty string on success, else what is wrong with the file.
std::string read_gif(const std::string& path, Gif& gif);

}  // namespace orv::test
