// The dial and records the knob gauges share: a needle turning on the dial
// over the knob's background, the left half of the knob turning down and the
// right half up.
#pragma once

#include <iterator>

#include "controls/knob_step.h"
#include "controls/mouse_records.h"
#include "frame/elements.h"

namespace orv::controls {

// Pivot of the knob needle bitmaps (2220, 2230) inside the bitmap.
inline constexpr PixPoint kKnobNeedlePivot = {25, 25};

// Value-to-angle points of a knob needle pivoting at (c, c) in a gauge of
// 2c x 2c pixels: a value in degrees turns the needle by as many degrees, 0
// pointing up, clockwise.
#define ORV_KNOB_DIAL(name, c)                                                           \
  ::orv::abi::NeedlePoint name[] = {                                                     \
      {{(c), 0}, 0.0, 0.0},   {{2 * (c), (c)}, 90.0, 0.0}, {{(c), 2 * (c)}, 180.0, 0.0}, \
      {{0, (c)}, 270.0, 0.0}, {{(c), 0}, 360.0, 0.0},                                    \
  }

// The click callback of one half of a knob: `turn` with that half.
template <void (*turn)(KnobHalf, u32), KnobHalf half>
i32 ORV_CALL knob_click(Click*, u32 flags) {
  turn(half, flags);
  return 0;
}

inline constexpr u32 kKnobClicks = kMouseLeftSingle | kMouseRightSingle | kMouseWheelLike;

// The records (`elements`, `mouse`) of gauge `owner`, a 58 x 58 pixel knob that turns by
// code: its needle on the dial over the knob background, the tooltip record
// `tip`, and the two halves calling `turn`. Used inside the gauge's own
// records namespace.
#define ORV_KNOB_RECORDS(owner, needle_bitmap, needle_source, needle_fn, tip, turn)           \
  ORV_KNOB_DIAL(dial, 29);                                                                    \
  NeedleElement needle{.h = {.kind = kNeedle,                                                 \
                             .bitmap = (needle_bitmap),                                       \
                             .position = {29, 29},                                            \
                             .offset = kKnobNeedlePivot,                                      \
                             .gauge = &(owner),                                               \
                             .flags = kDrawMoving},                                           \
                       .source = (needle_source),                                             \
                       .callback = (needle_fn),                                               \
                       .table = dial,                                                         \
                       .table_count = std::size(dial)};                                       \
  ORV_ELEMENT_LIST(background_next, &needle.h);                                               \
  StaticElement background{.h = {.kind = kStaticImage,                                        \
                                 .bitmap = 2210,                                              \
                                 .gauge = &(owner),                                           \
                                 .next = background_next,                                     \
                                 .flags = kDrawBackground}};                                  \
  ORV_ELEMENT_LIST(elements, &background.h);                                                  \
  MouseRect mouse[] = {                                                                       \
      whole_gauge_area(),                                                                     \
      tip,                                                                                    \
      click_box({0, 0, 29, 58}, kCursorDown, kKnobClicks, knob_click<turn, KnobHalf::kDown>), \
      click_box({29, 0, 29, 58}, kCursorUp, kKnobClicks, knob_click<turn, KnobHalf::kUp>),    \
      area_end(),                                                                             \
      list_end(),                                                                             \
  }

}  // namespace orv::controls
