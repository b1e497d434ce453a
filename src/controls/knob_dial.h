// What the knob gauges share: the needle's dial, the needle bitmap's pivot
// and the click callbacks of the knob's two halves (the left half turns
// down, the right half up).
#pragma once

#include "controls/knob_step.h"
#include "frame/gauge_abi.h"

namespace orv::controls {

// Background of the knobs that turn by code, and the pivot of their needle
// bitmaps (2220, 2230) inside the bitmap.
inline constexpr abi::u32 kKnobBackground = 2210;
inline constexpr abi::PixPoint kKnobNeedlePivot = {25, 25};

// Value-to-angle points of a knob needle pivoting at (c, c) in a gauge of
// 2c x 2c pixels: a value in degrees turns the needle by as many degrees, 0
// pointing up, clockwise.
#define ORV_KNOB_DIAL(name, c)                                                           \
  ::orv::abi::NeedlePoint name[] = {                                                     \
      {{(c), 0}, 0.0, 0.0},   {{2 * (c), (c)}, 90.0, 0.0}, {{(c), 2 * (c)}, 180.0, 0.0}, \
      {{0, (c)}, 270.0, 0.0}, {{(c), 0}, 360.0, 0.0},                                    \
  }

// The click callback of one half of a knob: `turn` with that half.
template <void (*turn)(KnobHalf, abi::u32), KnobHalf half>
abi::i32 ORV_CALL knob_click(abi::Click*, abi::u32 flags) {
  turn(half, flags);
  return 0;
}

inline constexpr abi::u32 kKnobClicks = abi::kMouseLeftSingle | abi::kMouseRightSingle | abi::kMouseWheelLike;

}  // namespace orv::controls
