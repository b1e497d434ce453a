#include "frame_delta.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace orv::panel_tool {

FrameRect changed_rect(const std::uint32_t* now, const std::uint32_t* before, int width, int height) {
  const auto w = static_cast<std::size_t>(width);
  auto differs = [&](std::size_t at) { return ((now[at] ^ before[at]) & 0xFFFFFFu) != 0; };
  // Equal rows (most of them) are found by comparing their bytes.
  auto row_differs = [&](int y) {
    const std::size_t at = static_cast<std::size_t>(y) * w;
    if (std::memcmp(now + at, before + at, w * 4) == 0) return false;
    for (std::size_t x = 0; x < w; ++x)
      if (differs(at + x)) return true;
    return false;
  };
  int top = 0;
  while (top < height && !row_differs(top)) ++top;
  if (top == height) return {};
  int bottom = height;
  while (!row_differs(bottom - 1)) --bottom;
  int left = width, right = 0;
  for (int y = top; y < bottom; ++y) {
    const std::size_t at = static_cast<std::size_t>(y) * w;
    if (std::memcmp(now + at, before + at, w * 4) == 0) continue;
    int x = 0;
    while (x < left && !differs(at + static_cast<std::size_t>(x))) ++x;
    left = std::min(left, x);
    int end = width;
    while (end > right && !differs(at + static_cast<std::size_t>(end) - 1)) --end;
    right = std::max(right, end);
  }
  return {left, top, right - left, bottom - top};
}

}  // namespace orv::panel_tool
