// The standby attitude indicator `Attitude`: what other code and the tests
// reach of it.
#pragma once

#include <cstddef>

#include "frame/gauge_abi.h"

namespace orv::standby {

// The Mach number last computed by the Mach integer readout (0 at load); the
// Machmeter tooltip shows it, and the hundredths readout, which draws before
// the integer one, shows the value of the previous update.
extern abi::f64 attitude_mach;

// Positions of the gauge's elements in drawing order.
enum AttitudeElement : std::size_t {
  kFace,
  kAttitudeBall,
  kFlightPathBall,
  kBankNeedle,
  kFaceOverBall,
  kHeadingTape,
  kAirspeedText,
  kAltitudeHundredsText,
  kAltitudeTensText,
  kMachHundredthsText,
  kMachIntegerText,
  kBarometricText,
  kAttitudeElementCount
};

}  // namespace orv::standby
