// Writes the frames of an animated GIF as PNG pictures, to compare two
// animations picture by picture (tests/golden/picture_pairs):
//
//   gif_frames FILE.gif DIR      DIR/frame_00.png, DIR/frame_01.png, ...
//
// Exits 1 when the file is not a GIF that the tests' strict reader accepts.
#include <cstdio>
#include <filesystem>
#include <string>

#include "golden/picture_compare.h"
#include "support/gif_read.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gif_frames FILE.gif DIR\n");
    return 2;
  }
  orv::test::Gif gif;
  if (const std::string error = orv::test::read_gif(argv[1], gif); !error.empty()) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  std::filesystem::create_directories(argv[2]);
  for (std::size_t k = 0; k < gif.frames.size(); ++k) {
    orv::golden::Picture picture{gif.width, gif.height, gif.frames[k].pixels};
    for (std::uint32_t& p : picture.pixels) p |= 0xFF000000u;
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%02zu.png", k);
    if (!orv::golden::write_png(argv[2] + std::string(name), picture)) return 1;
  }
  std::printf("%s: %zu frames of %dx%d\n", argv[1], gif.frames.size(), gif.width, gif.height);
  return 0;
}
