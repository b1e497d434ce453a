#include "host/panel/bmp_image.h"

#include <fstream>

namespace orv::host {

namespace {

std::uint32_t u16(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}
std::uint32_t u32(std::string_view b, std::size_t at) { return u16(b, at) | u16(b, at + 2) << 16; }

BmpResult fail(std::string reason) { return {std::nullopt, std::move(reason)}; }

}  // namespace

BmpResult decode_bmp(std::string_view b) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return fail("not a BMP file");
  const std::uint32_t data_at = u32(b, 10), header = u32(b, 14);
  if (header < 40 || 14 + static_cast<std::uint64_t>(header) > b.size())
    return fail("a BMP header this reader does not know");
  const auto width = static_cast<std::int32_t>(u32(b, 18)),
             signed_height = static_cast<std::int32_t>(u32(b, 22));
  const std::uint32_t bits = u16(b, 28), compression = u32(b, 30);
  if (width <= 0 || width > kMaxBmpSide || signed_height == 0 || signed_height > kMaxBmpSide ||
      signed_height < -kMaxBmpSide)
    return fail("a size of " + std::to_string(width) + " x " + std::to_string(signed_height) +
                " pixels (1 to " + std::to_string(kMaxBmpSide) + ")");
  if (compression != 0) return fail("compressed BMP files are not read (save it uncompressed)");
  if (bits != 8 && bits != 24) return fail(std::to_string(bits) + " bits per pixel is not read (8 or 24)");
  const int height = signed_height < 0 ? -signed_height : signed_height;
  std::vector<std::uint32_t> palette;
  if (bits == 8) {
    std::uint32_t colours = u32(b, 46);
    if (colours == 0 || colours > 256) colours = 256;
    const std::uint64_t at = 14 + static_cast<std::uint64_t>(header);
    if (at + 4ULL * colours > b.size()) return fail("the file ends inside its palette");
    palette.resize(256, 0xFF000000u);
    for (std::uint32_t i = 0; i < colours; ++i) {
      const std::size_t p = static_cast<std::size_t>(at) + 4 * i;
      palette[i] = 0xFF000000u | static_cast<std::uint32_t>(static_cast<unsigned char>(b[p + 2])) << 16 |
                   static_cast<std::uint32_t>(static_cast<unsigned char>(b[p + 1])) << 8 |
                   static_cast<unsigned char>(b[p]);
    }
  }
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits / 8 + 3) / 4 * 4;
  if (data_at + stride * static_cast<std::uint64_t>(height) > b.size())
    return fail("the file ends inside its rows");
  BmpImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int row = 0; row < height; ++row) {
    const int y = signed_height < 0 ? row : height - 1 - row;
    const std::size_t at = data_at + static_cast<std::size_t>(stride) * static_cast<std::size_t>(row);
    std::uint32_t* out = &image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)];
    for (int x = 0; x < width; ++x) {
      if (bits == 8) {
        out[x] = palette[static_cast<unsigned char>(b[at + static_cast<std::size_t>(x)])];
      } else {
        const std::size_t p = at + 3 * static_cast<std::size_t>(x);
        out[x] = 0xFF000000u | static_cast<std::uint32_t>(static_cast<unsigned char>(b[p + 2])) << 16 |
                 static_cast<std::uint32_t>(static_cast<unsigned char>(b[p + 1])) << 8 |
                 static_cast<unsigned char>(b[p]);
      }
    }
  }
  return {std::move(image), {}};
}

BmpResult read_bmp_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return fail("cannot be opened");
  // The largest bitmap read is 8192 x 8192 at 24 bits, with its headers.
  constexpr std::streamoff kLimit = 3LL * kMaxBmpSide * kMaxBmpSide + 4096;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return fail("cannot be read");
  if (size > kLimit) return fail("larger than a bitmap of 8192 x 8192 pixels");
  in.seekg(0);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in.read(bytes.data(), size)) return fail("cannot be read");
  return decode_bmp(bytes);
}

}  // namespace orv::host
