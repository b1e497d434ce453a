// The cockpit mode values that control gauges write and display gauges read.
// One copy per loaded module, shared by every instance of every gauge; all
// zero at load except nav_source_nav1. Read and written directly, on the
// host's panel thread only.
#pragma once

#include <cstdint>

namespace orv::cockpit {

// Display page numbers.
inline constexpr std::int32_t kLeftPageRadar = 1;
inline constexpr std::int32_t kLeftPageMap = 2;
inline constexpr std::int32_t kLeftPageRadios = 3;
inline constexpr std::int32_t kLeftPageWeapons = 4;
inline constexpr std::int32_t kLeftPageNavArc = 5;
inline constexpr std::int32_t kRightPageControls = 1;
inline constexpr std::int32_t kRightPageEngine = 2;
inline constexpr std::int32_t kRightPageNavCircle = 3;

// HUD colour indexes.
inline constexpr std::uint32_t kHudLightGreen = 0;
inline constexpr std::uint32_t kHudMiddleGreen = 1;
inline constexpr std::uint32_t kHudDarkGreen = 2;
inline constexpr std::uint32_t kHudRed = 3;

extern std::int32_t left_mfd_page;   // 1..5; 0 only before start-up
extern std::int32_t right_mfd_page;  // 1..3; 0 only before start-up
extern std::int32_t hud_on;          // 0 off, 1 on
extern std::uint32_t hud_colour;     // 0..3, see kHud*
extern std::int32_t nav_source_nav1; // 1 guidance from NAV 1 (ILS), 0 from NAV 2 (TACAN)

// The six radio on-flags; they always change together.
extern std::int32_t nav1_on;
extern std::int32_t nav2_on;
extern std::int32_t com1_on;
extern std::int32_t com2_on;
extern std::int32_t adf_on;
extern std::int32_t transponder_on;

// Capacities of the two fuel tanks in kilograms, taken at start-up.
extern double fuel_tank_capacity_kg[2];

}  // namespace orv::cockpit
