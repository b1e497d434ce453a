// The right multi-function display's module-wide values and the layout of
// its element chain, visible to tests and tools.
//
// The display is one chain of elements in drawing order: the dark face,
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

// Positions in the element chain (0-based, drawing order), in the order the
// chain lists its elements: the numbers follow from that order, and the
// display's file checks that the chain is kLength long.
namespace right_chain {
// The dials of the engine page in drawing order; dial d's five wedges start
// at wedge_at(d, 0) (red, amber, then the three green ones).
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

enum Position : std::size_t {
  kFace,
  // Navigation circle page.
  kNavMarks,
  kCompassRose,
  kGlideSlopeScale,
  kGlideSlopeDiamond,
  kHeadingBug,
  kAdfPointer,
  kCoursePointer,
  kHollowBar,
  kFilledBar,
  kToFrom,
  kNav2Pointer,
  kAircraft,
  kCourseText,
  kHeadingText,
  kNav2Ident,
  kNav1Ident,
  kAdfIdent,
  kAdfFrequency,
  kNav1Frequency,
  kNav2Frequency,
  kNav1Distance,
  kNav2Distance,
  kAltitudeHundreds,
  kAltitudeLastTwo,
  kAirspeed,
  // Engine page: five wedges per dial, dials in this order.
  kWedges,
  kEngineOverlay = kWedges + kWedgesPerDial * kDialCount,
  kFuelPercent,
  kAfterburner,
  kFfRightText,
  kFfLeftText,
  kEgtRightText,
  kEgtLeftText,
  kN2RightText,
  kN2LeftText,
  kN1RightText,
  kN1LeftText,
  // Controls page.
  kControlsFace,
  kGearRight,
  kGearMiddle,
  kGearLeft,
  kFlapsText,
  kFlapEdges,
  kSlatsText,
  kSlatBars,
  kFuselageBoxes,
  kForwardTriangles,
  kTailMarker,
  kBrakeLabel,
  kHookLabel,
  kHydraulic2Text,
  kHydraulic1Text,
  kLength,
};

constexpr std::size_t wedge_at(Dial d, std::size_t draw_order) {
  return kWedges + kWedgesPerDial * d + draw_order;
}
}  // namespace right_chain

}  // namespace orv::mfd
