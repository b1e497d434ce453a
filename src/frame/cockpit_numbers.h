// The numbers several gauges share: simulator key events that open and close
// panel windows, the display overlay windows, the icon value that draws
// nothing, and unit conversions. A number used by one gauge only stays in that
// gauge's file; a number two gauges share lives here and nowhere else.
#pragma once

#include "frame/gauge_abi.h"

namespace orv::numbers {

// --- Key events -----------------------------------------------------------------

inline constexpr abi::u32 kEventToggleWindow = 66506;  // value: panel window number
inline constexpr abi::u32 kEventOpenWindow = 66507;
inline constexpr abi::u32 kEventCloseWindow = 66508;

// --- Panel windows ------------------------------------------------------------------

// Overlay windows of the left display's radar and map pages, in the main and
// the landing view.
inline constexpr abi::u32 kWindowRadarMain = 44;
inline constexpr abi::u32 kWindowRadarLanding = 45;
inline constexpr abi::u32 kWindowMapMain = 46;
inline constexpr abi::u32 kWindowMapLanding = 47;

// --- Token variables -------------------------------------------------------------

// The avionics supply: the radar and the navigation pages draw only while it
// is above 10.
inline constexpr abi::u32 kTokenAvionicsSupply = 755;

// --- Element values -------------------------------------------------------------------

// The image index of an icon that draws nothing.
inline constexpr abi::f64 kNoImage = -1.0;

// --- Unit conversions -------------------------------------------------------------------

inline constexpr abi::f64 kDegreesPerRadian = 57.29577951308232;
inline constexpr abi::f64 kMetresPerNauticalMile = 1852.0;  // displays and map
inline constexpr abi::f64 kKilogramsPerPound = 0.4536;
inline constexpr abi::f64 kPoundsPerGallon = 6.7;

}  // namespace orv::numbers
