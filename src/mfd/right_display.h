// The right multi-function display's module-wide values and the layout of
// its element chain, visible to tests and tools.
//
// The display is one chain of 92 elements in drawing order: the dark face,
// the navigation circle page, the forty wedges of the engine page's eight arc
// dials with the page's overlay and readouts, then the controls page. Every
// element but the face belongs to one page and decides on each call whether
// it shows, from `right_mfd_page`.
#pragma once

#include <cstddef>

#include "frame/gauge_abi.h"

namespace orv::mfd {

// The engine page's dial values, one per dial, zero at load. The N1 and N2
// values are copied from their tokens by the dials' first two wedges; the EGT
// (degrees Celsius) and fuel-flow (kilograms per minute) values are converted
// and stored by their readouts. Every wedge reads its dial's value.
extern abi::f64 n1_left_pct, n1_right_pct;
extern abi::f64 egt_left_c, egt_right_c;
extern abi::f64 n2_left_pct, n2_right_pct;
extern abi::f64 ff_left_kg_min, ff_right_kg_min;

// The flap lever position in five steps (0 up .. 4 down), written by the
// controls page's flaps readout on every call, whatever the page.
extern abi::u32 flaps_state;

// Positions in the element chain (0-based, drawing order).
namespace right_chain {
enum Position : std::size_t {
  kFace = 0,
  // Navigation circle page.
  kNavMarks = 1,
  kCompassRose = 2,
  kGlideSlopeScale = 3,
  kGlideSlopeDiamond = 4,
  kHeadingBug = 5,
  kAdfPointer = 6,
  kCoursePointer = 7,
  kHollowBar = 8,
  kFilledBar = 9,
  kToFrom = 10,
  kNav2Pointer = 11,
  kAircraft = 12,
  kCourseText = 13,
  kHeadingText = 14,
  kNav2Ident = 15,
  kNav1Ident = 16,
  kAdfIdent = 17,
  kAdfFrequency = 18,
  kNav1Frequency = 19,
  kNav2Frequency = 20,
  kNav1Distance = 21,
  kNav2Distance = 22,
  kAltitudeHundreds = 23,
  kAltitudeLastTwo = 24,
  kAirspeed = 25,
  // Engine page: five wedges per dial, dials in this order.
  kWedges = 26,
  kEngineOverlay = 66,
  kFuelPercent = 67,
  kAfterburner = 68,
  kFfRightText = 69,
  kFfLeftText = 70,
  kEgtRightText = 71,
  kEgtLeftText = 72,
  kN2RightText = 73,
  kN2LeftText = 74,
  kN1RightText = 75,
  kN1LeftText = 76,
  // Controls page.
  kControlsFace = 77,
  kGearRight = 78,
  kGearMiddle = 79,
  kGearLeft = 80,
  kFlapsText = 81,
  kFlapEdges = 82,
  kSlatsText = 83,
  kSlatBars = 84,
  kFuselageBoxes = 85,
  kForwardTriangles = 86,
  kTailMarker = 87,
  kBrakeLabel = 88,
  kHookLabel = 89,
  kHydraulic2Text = 90,
  kHydraulic1Text = 91,
  kLength = 92,
};

// The dials of the engine page in drawing order; dial d's five wedges start
// at kWedges + 5 * d (red, amber, then the three green ones).
enum Dial : std::size_t {
  kFfRight,
  kFfLeft,
  kEgtRight,
  kEgtLeft,
  kN2Right,
  kN2Left,
  kN1Right,
  kN1Left,
  kDialCount,
};
inline constexpr std::size_t kWedgesPerDial = 5;
constexpr std::size_t wedge_at(Dial d, std::size_t draw_order) {
  return kWedges + kWedgesPerDial * d + draw_order;
}
}  // namespace right_chain

}  // namespace orv::mfd
