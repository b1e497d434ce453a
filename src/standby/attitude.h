// The standby attitude indicator `Attitude`: what other code and the tests
// reach of it.
#pragma once

#include "frame/gauge_abi.h"

namespace orv::standby {

// The Mach number last computed by the Mach integer readout (0 at load); the
// Machmeter tooltip shows it, and the hundredths readout, which draws before
// the integer one, shows the value of the previous update.
extern abi::f64 attitude_mach;

// The element callbacks, in drawing order of their elements; tests find the
// elements by them.
abi::f64 pitch_clamp(abi::SpriteElement* e);  // the attitude ball
abi::f64 flight_path(abi::SpriteElement* e);  // the flight path ball
abi::f64 heading_tape(abi::MovingImageElement* e);
abi::f64 airspeed_text(abi::TextElement* e);
abi::f64 altitude_hundreds_text(abi::TextElement* e);
abi::f64 altitude_tens_text(abi::TextElement* e);
abi::f64 mach_hundredths_text(abi::TextElement* e);
abi::f64 mach_integer_text(abi::TextElement* e);
abi::f64 barometric_text(abi::TextElement* e);

}  // namespace orv::standby
