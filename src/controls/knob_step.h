// The step rule of the rotary knobs: one degree per left click, ten per right
// click, the left half turning down and the right half up, wrapping within
// 0..359.
#pragma once

#include <cmath>
#include <cstdint>

#include "frame/gauge_abi.h"

namespace orv::controls {

enum class KnobHalf { kDown, kUp };

// A token value as whole degrees, truncated toward zero; values the host
// should never deliver (NaN, beyond a million) read as 0.
inline std::int32_t whole_degrees(double value) {
  if (!std::isfinite(value) || std::fabs(value) > 1e6) return 0;
  return static_cast<std::int32_t>(value);
}

// Applies a click to `v`. A left click is tested first, so a click with both
// bits counts as left. Returns false, leaving `v`, for any other click kind.
inline bool knob_step(std::int32_t& v, KnobHalf half, std::uint32_t flags) {
  const bool left = (flags & abi::kMouseLeftSingle) != 0;
  const bool right = (flags & abi::kMouseRightSingle) != 0;
  if (!left && !right) return false;
  if (half == KnobHalf::kDown) {
    if (left) {
      v = v < 1 ? 359 : v - 1;
    } else {
      v = v < 10 ? v + 350 : v - 10;
    }
  } else {
    if (left) {
      v = v >= 359 ? 0 : v + 1;
    } else {
      v = v > 349 ? v - 350 : v + 10;
    }
  }
  return true;
}

}  // namespace orv::controls
