// Which guidance the navigation pages show: the NAV/GPS source switch (token
// 848, the simulator's own state) and whether the GPS has an active waypoint.
#pragma once

#include "frame/gauge_abi.h"

namespace orv::mfd {

inline constexpr abi::u32 kTokenNavGpsSource = 848;

// The number the host last gave for the GPS active-waypoint expression; 1.0
// means the GPS has an active waypoint. Module-wide, zero at load.
extern abi::f64 gps_waypoint_flag;

// The switch state read afresh.
abi::f64 read_nav_gps_source();

// Most fields: 0 is the radio (NAV) source, any other value GPS.
inline bool is_gps_source(abi::f64 source) { return source != 0.0; }

// The glide-slope fields: only exactly 1.0 is GPS, so a value such as 0.5
// still shows the glide slope.
inline bool is_gps_source_for_glide_slope(abi::f64 source) { return source == 1.0; }

// Evaluates "(A:GPS IS ACTIVE WAY POINT,number)" into `gps_waypoint_flag` and
// tells whether the result is exactly 1.0. Every use evaluates afresh.
bool gps_waypoint_active();

}  // namespace orv::mfd
