// The numbers several gauges share: simulator key events that open and close
// panel windows, the display overlay windows, the icon value that draws
// nothing, and unit conversions. A number used by one gauge only stays in that
// gauge's file; a number two gauges share lives here and nowhere else.
#pragma once

#include "frame/gauge_abi.h"
#include "frame/panel_windows.h"

namespace orv::numbers {

// --- Key events -----------------------------------------------------------------

// The panel window events of the published interface (value: the window).
inline constexpr abi::u32 kEventToggleWindow = abi::windows::kEventToggle;
inline constexpr abi::u32 kEventOpenWindow = abi::windows::kEventOpen;
inline constexpr abi::u32 kEventCloseWindow = abi::windows::kEventClose;

// --- Panel windows ------------------------------------------------------------------

// Overlay windows of the left display's radar and map pages, in the main and
// the landing view.
inline constexpr abi::u32 kWindowRadarMain = abi::windows::kRadarMain;
inline constexpr abi::u32 kWindowRadarLanding = abi::windows::kRadarLanding;
inline constexpr abi::u32 kWindowMapMain = abi::windows::kMapMain;
inline constexpr abi::u32 kWindowMapLanding = abi::windows::kMapLanding;

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
