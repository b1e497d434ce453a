// The dial that the knob needles share: a value in degrees turns the needle
// by as many degrees, 0 pointing up, clockwise, around the pivot at (c, c).
#pragma once

#include <iterator>

#include "frame/gauge_abi.h"

namespace orv::controls {

// Value-to-angle points of a knob needle pivoting at (c, c) in a gauge of
// 2c x 2c pixels.
#define ORV_KNOB_DIAL(name, c)                                                           \
  ::orv::abi::NeedlePoint name[] = {                                                     \
      {{(c), 0}, 0.0, 0.0},   {{2 * (c), (c)}, 90.0, 0.0}, {{(c), 2 * (c)}, 180.0, 0.0}, \
      {{0, (c)}, 270.0, 0.0}, {{(c), 0}, 360.0, 0.0},                                    \
  }

}  // namespace orv::controls
