// The records every size-19 toggle shares: its icon as the gauge's only
// element, and a mouse list of the whole-gauge area, one 13 x 13 click box
// and the ends.
#pragma once

#include "frame/gauge_abi.h"
#include "frame/records.h"
#include "frame/registry.h"

namespace orv::controls {

inline constexpr abi::PixBox kSmallToggleBox = {3, 3, 13, 13};

}  // namespace orv::controls

// Defines `chain` and `mouse` of gauge `var` in namespace
// orv::gauges::var_records: icon `bitmap_id`, the area records given after
// `box` (area with help id, optional tooltip), then `box`. The records are
// written with the names of frame/records.h, which the including file makes
// visible in namespace orv::gauges.
#define ORV_SMALL_TOGGLE_RECORDS(var, bitmap_id, box, ...)                                        \
  namespace orv::gauges::var##_records {                                                          \
    constinit ::orv::records::Chain chain{::orv::gauges::var,                                     \
                                          ::orv::records::static_image({.bitmap = (bitmap_id)})}; \
    ::orv::abi::MouseRect mouse[] = {__VA_ARGS__, box, ::orv::records::area_end(),                \
                                     ::orv::records::list_end()};                                 \
  }
