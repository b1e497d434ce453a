#include "support/gif_read.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace orv::test {

namespace {

struct Bytes {
  std::vector<unsigned char> b;
  std::size_t at = 0;
  int u8() {
    if (at >= b.size()) throw std::runtime_error("ends early");
    return b[at++];
  }
  int u16() {
    const int lo = u8();
    return lo | u8() << 8;
  }
  // Data sub-blocks up to the empty one, joined.
  std::vector<unsigned char> blocks() {
    std::vector<unsigned char> data;
    for (int n = u8(); n != 0; n = u8())
      for (int i = 0; i < n; ++i) data.push_back(static_cast<unsigned char>(u8()));
    return data;
  }
};

std::vector<std::uint32_t> colour_table(Bytes& in, int packed) {
  std::vector<std::uint32_t> table(std::size_t{2} << (packed & 7));
  for (std::uint32_t& c : table) {
    const int r = in.u8(), g = in.u8();
    c = static_cast<std::uint32_t>(r << 16 | g << 8 | in.u8());
  }
  return table;
}

// The LZW codes of one image, `count` indices.
std::vector<int> decompress(const std::vector<unsigned char>& data, int min_code_size, std::size_t count) {
  if (min_code_size < 2 || min_code_size > 8) throw std::runtime_error("bad LZW code size");
  const int clear = 1 << min_code_size, end = clear + 1;
  std::vector<int> prefix(4096), suffix(4096), first(4096), length(4096);
  for (int c = 0; c < clear; ++c) suffix[c] = first[c] = c, length[c] = 1;
  std::size_t bit = 0;
  auto read = [&](int width) {
    if (bit + static_cast<std::size_t>(width) > data.size() * 8) throw std::runtime_error("codes run out");
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
    return code;
  };
  std::vector<int> out;
  int width = min_code_size + 1, next = clear + 2, previous = -1;
  for (;;) {
    const int code = read(width);
    if (code == clear) {
      width = min_code_size + 1, next = clear + 2, previous = -1;
      continue;
    }
    if (code == end) break;
    if (code > next || (code == next && previous < 0) || (previous < 0 && code >= clear))
      throw std::runtime_error("code " + std::to_string(code) + " beyond the table (" + std::to_string(next) +
                               ")");
    if (previous >= 0 && next < 4096) {
      prefix[next] = previous;
      suffix[next] = code == next ? first[previous] : first[code];
      first[next] = first[previous];
      length[next] = length[previous] + 1;
      ++next;
      if (next == 1 << width && width < 12) ++width;
    }
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(length[code]));
    for (int c = code, i = length[code] - 1; i >= 0; c = prefix[c], --i)
      out[at + static_cast<std::size_t>(i)] = suffix[c];
    if (out.size() > count) throw std::runtime_error("more pixels than the image has");
    previous = code;
  }
  if (out.size() != count) throw std::runtime_error("fewer pixels than the image has");
  if ((bit + 7) / 8 != data.size()) throw std::runtime_error("bytes after the end code");
  return out;
}

}  // namespace

std::string read_gif(const std::string& path, Gif& gif) {
  std::ifstream file(path, std::ios::binary);
  Bytes in{{std::istreambuf_iterator<char>(file), {}}};
  gif = {};
  try {
    if (std::string(in.b.begin(), in.b.begin() + std::min<std::size_t>(6, in.b.size())) != "GIF89a")
      return "not a GIF89a file";
    in.at = 6;
    gif.width = in.u16();
    gif.height = in.u16();
    const int packed = in.u8();
    in.u16();  // background, aspect
    std::vector<std::uint32_t> global;
    if (packed & 0x80) global = colour_table(in, packed);
    std::vector<std::uint32_t> screen(static_cast<std::size_t>(gif.width) * gif.height, 0);
    int delay = 0, transparent = -1;
    for (;;) {
      const int block = in.u8();
      if (block == 0x3B) break;
      if (block == 0x21) {
        const int label = in.u8();
        std::vector<unsigned char> data = in.blocks();
        if (label == 0xF9) {
          if (data.size() != 4) return "graphic control of " + std::to_string(data.size()) + " bytes";
          // Disposal: none or "leave in place" (the next image is drawn
          // over this one); the others are not read here.
          if (((data[0] >> 2) & 7) > 1) return "disposal " + std::to_string((data[0] >> 2) & 7);
          delay = data[1] | data[2] << 8;
          transparent = (data[0] & 1) ? data[3] : -1;
        } else if (label == 0xFF && data.size() == 14 &&
                   std::string(data.begin(), data.begin() + 11) == "NETSCAPE2.0" && data[11] == 1) {
          gif.loop_count = data[12] | data[13] << 8;
        }
        continue;
      }
      if (block != 0x2C) return "unknown block " + std::to_string(block);
      const int x = in.u16(), y = in.u16(), w = in.u16(), h = in.u16(), image = in.u8();
      if (x + w > gif.width || y + h > gif.height) return "image beyond the screen";
      if (image & 0x40) return "interlaced image";
      const std::vector<std::uint32_t> table = (image & 0x80) ? colour_table(in, image) : global;
      const int min_code_size = in.u8();
      const std::vector<int> indices =
          decompress(in.blocks(), min_code_size, static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
      for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
          const auto index = static_cast<std::size_t>(indices[static_cast<std::size_t>(row * w + col)]);
          if (index >= table.size()) return "index beyond the colour table";
          if (static_cast<int>(index) == transparent) continue;
          screen[static_cast<std::size_t>((y + row) * gif.width + x + col)] = table[index];
        }
      GifFrame& frame = gif.frames.emplace_back();
      frame = {delay, static_cast<int>(table.size()), screen, {x, y, w, h}, table, {}, transparent};
      frame.indices.assign(indices.begin(), indices.end());
      transparent = -1;
    }
    if (in.at != in.b.size()) return "bytes after the trailer";
  } catch (const std::exception& e) {
    return e.what();
  }
  return {};
}

}  // namespace orv::test
