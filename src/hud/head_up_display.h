// The head-up display's module-wide state, visible to tests and tools.
#pragma once

#include "frame/gauge_abi.h"

namespace orv::hud {

// The smoothed glideslope deviation of each glideslope caret colour copy,
// indexed by colour (0 light green .. 3 red); 0.0 at load, never reset.
// Each entry is written only by its own copy's callback, and only while that
// copy is shown.
extern abi::f64 hud_glideslope_filter[4];

}  // namespace orv::hud
