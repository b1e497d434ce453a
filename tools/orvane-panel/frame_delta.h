// What changed between two whole frames of one size, for the animation
// encoders that store only that.
#pragma once

#include <cstdint>

namespace orv::panel_tool {

struct FrameRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool empty() const { return width == 0; }
};

// The smallest rectangle holding every pixel of `now` whose colour (the low
// 24 bits) differs from `before`; empty when none does. Both are `width` x
// `height` pixels, row after row.
FrameRect changed_rect(const std::uint32_t* now, const std::uint32_t* before, int width, int height);

}  // namespace orv::panel_tool
