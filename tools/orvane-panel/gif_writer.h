// The GIF89a data stream of an animation, written without any image library:
// frames of 32-bit pixels, each reduced to a palette of its own (at most 256
// colours) and LZW-compressed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame_delta.h"

namespace orv::panel_tool {

// How far a pixel of a GIF frame may be shown from its own colour, in each
// primary, so that the LZW strings grow longer (GifWriter's `loss`): the
// default of orvane-panel render's --gif-loss.
inline constexpr int kDefaultGifLoss = 16;
inline constexpr int kMostGifLoss = 64;

class GifWriter {
 public:
  // `loss` 0: every pixel is shown in the palette entry nearest its colour
  // (its own colour when the frame's changes have at most 255). Above 0
  // (at most kMostGifLoss), the writer keeps the picture a decoder shows
  // and lets a pixel take any palette entry within `loss` of its colour in
  // every primary, or stay transparent where the picture shown is within
  // `loss` of it, whichever makes the LZW string longer; median cut leaves
  // boxes of colours within `loss` whole; a whole frame (the first) is
  // stored as at 0, its still parts being seen all along. Either way, after
  // every frame each pixel a decoder shows is within `loss` of the frame's
  // colour in every primary, or is the entry nearest that colour (by
  // squared distance) in the palette of the last frame that stored the
  // pixel, whose colour there was the same.
  explicit GifWriter(int loss = 0) : loss_(loss), frame_loss_(loss) {}

  // The header and logical screen of `width` x `height` pixels, and the
  // application extension that makes the animation loop forever.
  static void begin(std::vector<unsigned char>& out, int width, int height);
  // One frame of `width` x `height` pixels, 0x..RRGGBB row after row (the
  // top byte is ignored), shown for `delay_cs` hundredths of a second. The
  // first frame (and one of another size than the one before) is stored
  // whole; a later one as the smallest rectangle holding every pixel that
  // differs from the frame before (lossy: and from the picture shown by
  // more than the loss), those that do not transparent, drawn over the
  // frame before; an unchanged frame as one transparent pixel.
  void frame(std::vector<unsigned char>& out, const std::uint32_t* pixels, int width, int height,
             int delay_cs);
  static void end(std::vector<unsigned char>& out) { out.push_back(0x3B); }

  // The mark of a pixel for quantize() that is to be transparent.
  static constexpr std::uint32_t kHole = 0x01000000u;
  // Reduces `count` pixels (0xRRGGBB, or marked kHole) to palette()
  // (0xRRGGBB, at most 256 entries) and indices() (one per pixel): exactly
  // when there are no more colours than that and no loss, else by median
  // cut. When there are holes,
  // the last palette entry is theirs (transparent()) and the colours get at
  // most 255. The same pixels always give the same palette and indices.
  void quantize(const std::uint32_t* pixels, std::size_t count);
  // The transparent entry of the last quantize(), or -1.
  int transparent() const { return transparent_; }
  const std::vector<std::uint32_t>& palette() const { return palette_; }
  const std::vector<std::uint8_t>& indices() const { return indices_; }

 private:
  std::size_t position_of(std::uint32_t colour);
  void grow();
  void median_cut(std::size_t most);
  void compress(std::vector<unsigned char>& out, int min_code_size);
  void compress_lossy(std::vector<unsigned char>& out, int min_code_size);
  // The pixels of the changed rectangle `r` into region_, those left
  // transparent marked kHole (lossy: with their colours); returns the
  // rectangle of those that must be stored (all of `r` when `whole`).
  FrameRect take_region(const std::uint32_t* pixels, int width, FrameRect r, bool whole);
  // Whether colours `a` and `b` (0x..RRGGBB) differ by at most frame_loss_ in
  // every primary.
  bool near(std::uint32_t a, std::uint32_t b) const {
    const auto bound = static_cast<unsigned>(2 * frame_loss_);
    auto close = [&](int shift) {
      return static_cast<unsigned>(static_cast<int>((a >> shift) & 0xFF) -
                                   static_cast<int>((b >> shift) & 0xFF) + frame_loss_) <= bound;
    };
    return close(0) & close(8) & close(16);
  }

  // The frame's distinct colours in order of first appearance, their pixel
  // counts and palette indices, and an open-addressed table of positions in
  // that list.
  std::vector<std::uint32_t> colours_, counts_;
  std::vector<std::uint8_t> index_of_;
  std::vector<std::uint32_t> slots_;
  int slot_bits_ = 0;
  std::vector<std::uint32_t> stored_;  // the positions of the pixels not holes
  std::vector<std::uint32_t> palette_;
  std::vector<std::uint8_t> indices_;
  int transparent_ = -1;
  // The frame before (as given, 0x..RRGGBB), its size, and the pixels of the changed
  // rectangle of this one.
  std::vector<std::uint32_t> previous_;
  int previous_width_ = 0, previous_height_ = 0;
  std::vector<std::uint32_t> region_;
  // The loss asked for, and that of the frame being written: 0 for a whole
  // frame, whose still parts stay on the screen all along. Lossy: the
  // picture a decoder shows (0x..RRGGBB, the previous frame's size).
  int loss_;
  int frame_loss_;
  std::vector<std::uint32_t> shown_;
  // The LZW string table: (prefix code << 8 | index) keys and their codes.
  std::vector<std::uint32_t> string_keys_;
  std::vector<std::uint16_t> string_codes_;
  // The strings extended by the transparent index, by code, stamped.
  std::vector<std::uint32_t> extend_;
  std::uint32_t stamp_ = 0;
  // runs_[k]: the code of the run of k transparent pixels.
  std::vector<std::uint16_t> runs_;
  // Lossy: by code, the last index of its string, the string one shorter,
  // its first longer string and the next string of its own prefix (code 0,
  // never a longer string, ends a list); the strings still to search.
  std::vector<std::uint8_t> suffix_;
  std::vector<std::uint16_t> parent_, first_child_, next_sibling_;
  struct SearchStep {
    std::uint16_t code;
    std::uint32_t end;  // the pixel after its string
  };
  std::vector<SearchStep> search_;
};

}  // namespace orv::panel_tool
