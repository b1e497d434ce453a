// The head-up display's module-wide state and the layout of its element chain,
// visible to tests and tools.
#pragma once

#include "frame/gauge_abi.h"

namespace orv::hud {

// The smoothed glideslope deviation of each glideslope caret colour copy,
// indexed by colour (0 light green .. 3 red); 0.0 at load, never reset.
// Each entry is written only by its own copy's callback, and only while that
// copy is shown.
extern abi::f64 hud_glideslope_filter[4];

// Positions in the element chain, back to front. Every element is the single
// child of the one before it; a colour group takes four positions, red first.
namespace chain {
enum ChainPosition : int {
  kBackground = 0,
  kGlass = 1,
  kSymbology = 2,
  kGearCue = 3,
  kToFrom = 4,
  kCourse = 5,
  kNavSource = 9,
  kGlideslope = 10,
  kLocalizer = 14,
  kAngleOfAttack = 18,
  kAirspeed = 22,
  kHeadingTape = 26,
  kFlightPath = 30,
  kPitchLadder = 34,
  kAltitude = 38,
  kBankPointer = 42,
  kChainLength = 46,
};
}  // namespace chain

}  // namespace orv::hud
