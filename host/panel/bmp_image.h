// Window background bitmaps as the simulator reads them beside panel.cfg:
// uncompressed Windows BMP files of 8 bits per pixel (a palette of up to 256
// colours) or 24 bits per pixel, rows bottom-up (or top-down with a negative
// height). Decoded to 32-bit 0xFFRRGGBB words, top row first; the caller
// decides what pure black means (the panel's transparent colour).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::host {

struct BmpImage {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // width * height, rows top first
};

// The largest side a background bitmap may have (as for panel sizes).
inline constexpr int kMaxBmpSide = 8192;

// The picture in `bytes`, or the reason it cannot be read ("not a BMP
// file", "4 bits per pixel is not read", "the file ends inside its rows").
struct BmpResult {
  std::optional<BmpImage> image;
  std::string error;
};
BmpResult decode_bmp(std::string_view bytes);

// The file at `path` read and decoded (an error names what failed).
BmpResult read_bmp_file(const std::string& path);

}  // namespace orv::host
