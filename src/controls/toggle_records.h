// The records every size-19 toggle shares: its icon as the gauge's only
// element, and a mouse list of the whole-gauge area, one 13 x 13 click box
// and the ends.
#pragma once

#include "controls/mouse_records.h"
#include "frame/elements.h"
#include "frame/registry.h"

namespace orv::controls {

inline constexpr PixBox kSmallToggleBox = {3, 3, 13, 13};

}  // namespace orv::controls

// Defines `elements` and `mouse` of gauge `var` in namespace
// orv::gauges::var_records: icon `bitmap_id`, the area records given after
// `box` (area with help id, optional tooltip), then `box`.
#define ORV_SMALL_TOGGLE_RECORDS(var, bitmap_id, box, ...)          \
  namespace orv::gauges::var##_records {                            \
    using namespace orv::controls;                                  \
    StaticElement icon{.h = {.kind = kStaticImage,                  \
                             .bitmap = bitmap_id,                   \
                             .gauge = &orv::gauges::var,            \
                             .flags = kDrawBackground}};            \
    ORV_ELEMENT_LIST(elements, &icon.h);                            \
    MouseRect mouse[] = {__VA_ARGS__, box, area_end(), list_end()}; \
  }
