// The flight as an animated WebP, lossless (native builds with libwebp):
// every frame's pixels kept exactly. After the first frame each frame is
// the rectangle that changed since the frame before, its unchanged pixels
// transparent and blended over it; a frame that did not change lengthens
// the one before. The frames are kept compressed until the file is
// assembled at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "animation.h"

namespace orv::panel_tool {

class WebpAnimation : public Animation {
 public:
  WebpAnimation(const std::string& path, double frames_per_second, double scale);
  ~WebpAnimation() override;

 private:
  struct Stored {
    std::vector<std::uint8_t> bitstream;  // a single-image WebP file of the rectangle
    int x, y;
    int start, end;  // frame numbers: shown from `start` until `end`
  };
  void begin(int width, int height) override;
  void encode(const std::uint32_t* pixels, int width, int height) override;
  void finish() override;
  // The time in milliseconds at which frame `k` starts.
  int timestamp(int k) const;

  int width_ = 0, height_ = 0;
  bool open_ = false;
  int added_ = 0;
  std::vector<std::uint32_t> previous_;  // the frame before, 0xRRGGBB
  std::vector<std::uint32_t> region_;    // the rectangle to store, 0xAARRGGBB
  std::vector<Stored> stored_;
};

}  // namespace orv::panel_tool
