// The GIF89a data stream of an animation, written without any image library:
// frames of 32-bit pixels, each reduced to a palette of its own (at most 256
// colours) and LZW-compressed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::panel_tool {

class GifWriter {
 public:
  // The header and logical screen of `width` x `height` pixels, and the
  // application extension that makes the animation loop forever.
  static void begin(std::vector<unsigned char>& out, int width, int height);
  // One frame of `width` x `height` pixels, 0x..RRGGBB row after row (the
  // top byte is ignored), shown for `delay_cs` hundredths of a second.
  void frame(std::vector<unsigned char>& out, const std::uint32_t* pixels, int width, int height,
             int delay_cs);
  static void end(std::vector<unsigned char>& out) { out.push_back(0x3B); }

  // Reduces `count` pixels (as for frame()) to palette() (0xRRGGBB, at most
  // 256 entries) and indices() (one per pixel): exactly when there are no
  // more colours than that, else by median cut. The same pixels always give
  // the same palette and indices.
  void quantize(const std::uint32_t* pixels, std::size_t count);
  const std::vector<std::uint32_t>& palette() const { return palette_; }
  const std::vector<std::uint8_t>& indices() const { return indices_; }

 private:
  std::size_t position_of(std::uint32_t colour);
  void grow();
  void median_cut();
  void compress(std::vector<unsigned char>& out, int min_code_size);

  // The frame's distinct colours in order of first appearance, their pixel
  // counts and palette indices, and an open-addressed table of positions in
  // that list.
  std::vector<std::uint32_t> colours_, counts_;
  std::vector<std::uint8_t> index_of_;
  std::vector<std::uint32_t> slots_;
  int slot_bits_ = 0;
  std::vector<std::uint32_t> palette_;
  std::vector<std::uint8_t> indices_;
  // The LZW string table: (prefix code << 8 | index) keys and their codes.
  std::vector<std::uint32_t> string_keys_;
  std::vector<std::uint16_t> string_codes_;
};

}  // namespace orv::panel_tool
